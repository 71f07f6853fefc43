#include <cmath>
#include <cstdint>
#include <memory>

#include "demo/scenes.h"

namespace {

// Takes the one transition that leaves the current stage: 1 the fader exists,
// 2 it is gone, 3 the channel drift, 4 the cross-fade, 5 the lens, 6 none any more.
void takeTransition(Demo& demo, float t) {
    ShowState& state = demo.state;
    switch (state.effectStage) {
        case 0:
            demo.fader = std::make_unique<Fader>(*demo.workImage, demo.picture(Picture::Zumber), t, 5.5f);
            break;
        case 1:
            demo.fader.reset();
            break;
        case 2:
            state.channelDrift =
                std::make_unique<ChannelDrift>("vok_girl.pcx", "vok_zumber.pcx", state.prng, demo.messages);
            break;
        case 3:
            state.channelDrift.reset();
            demo.crossFade =
                std::make_unique<MaskedCrossFade>("vok_vesk.pcx", "vok_girl.pcx", "vok_mask.pcx", demo.messages);
            break;
        case 4:
            demo.crossFade.reset();
            demo.lens = std::make_unique<Lens>();
            break;
        case 5:
            demo.lens.reset();
            break;
        default:
            return;
    }
    ++state.effectStage;
}

}  // namespace

// In a normal show each scene's first frame takes exactly its own transition.
// After a stall longer than a whole scene (or a show begun late) the skipped
// ones run here in order, so no scene uses an effect object that does not exist.
void advanceEffectStage(Demo& demo, int32_t stage, float t) {
    while (demo.state.effectStage < stage) takeTransition(demo, t);
}

void channelDriftScene(Demo& demo, float) { demo.state.channelDrift->render(*demo.workImage); }

void crossFadeScene(Demo& demo, float) { demo.crossFade->render(*demo.workImage); }

void lensScene(Demo& demo, float t) {
    double time = t;
    int32_t x = static_cast<int32_t>(std::cos(time + static_cast<double>(88.5f)) * static_cast<double>(64.0f) +
                                     static_cast<double>(110.0f));
    int32_t y = static_cast<int32_t>(std::sin(time + static_cast<double>(88.3f)) * static_cast<double>(16.0f) +
                                     static_cast<double>(40.0f));
    demo.lens->apply(*demo.workImage, demo.picture(Picture::Vesk), x, y);
}

// The credits overlay jittering by up to 7 pixels over the vesk picture.
void creditsJitterScene(Demo& demo, float) {
    Image& work = *demo.workImage;
    const Image& credits = demo.picture(Picture::Credit);
    work.copyFrom(demo.picture(Picture::Vesk));
    int32_t y = demo.state.prng.rand() % 8;
    int32_t x = demo.state.prng.rand() % 8;
    work.addBlit(credits, x, y);
    work.addSaturate(credits);
}
