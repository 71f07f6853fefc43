// The draw steps of the scenes that run an effect object or jitter an overlay.
#include <cmath>
#include <cstdint>

#include "demo/scenes.h"

void channelDriftScene(Demo& demo, float) { demo.state->channelDrift->render(demo.state->workImage); }

void crossFadeScene(Demo& demo, float) { demo.state->crossFade->render(demo.state->workImage); }

void lensScene(Demo& demo, float t) {
    double time = t;
    int32_t x = static_cast<int32_t>(std::cos(time + static_cast<double>(88.5f)) * static_cast<double>(64.0f) +
                                     static_cast<double>(110.0f));
    int32_t y = static_cast<int32_t>(std::sin(time + static_cast<double>(88.3f)) * static_cast<double>(16.0f) +
                                     static_cast<double>(40.0f));
    demo.state->lens->apply(demo.state->workImage, demo.scenePicture(0), x, y);
}

// The overlay jittering by up to 7 pixels over the background.
void jitterScene(Demo& demo, float) {
    Image& work = demo.state->workImage;
    const Image& overlay = demo.scenePicture(1);
    work.copyFrom(demo.scenePicture(0));
    int32_t y = demo.state->prng.rand() % 8;
    int32_t x = demo.state->prng.rand() % 8;
    work.addBlit(overlay, x, y);
    work.addSaturate(overlay);
}
