// The draw steps of the scenes made of pictures: the fade-in, the two waves
// and the sprites.
#include <cmath>
#include <cstdint>

#include "demo/scenes.h"
#include "effects/wave_warp.h"

namespace {

constexpr float waveSpeed = 0.015f;  // amplitude pixels per millisecond

void waveScene(Demo& demo, float t, double direction) {
    float& amplitude = demo.state->waveAmplitude;
    waveWarp(demo.state->workImage, demo.scenePicture(0), t, amplitude);
    double change = static_cast<double>(static_cast<uint32_t>(demo.clock->deltaMs)) * static_cast<double>(waveSpeed);
    amplitude = static_cast<float>(static_cast<double>(amplitude) + direction * change);
}

}  // namespace

void fadeScene(Demo& demo, float t) { demo.state->fader->update(t); }

void growingWaveScene(Demo& demo, float t) { waveScene(demo, t, +1.0); }

void shrinkingWaveScene(Demo& demo, float t) { waveScene(demo, t, -1.0); }

void spriteScene(Demo& demo, float t) {
    Image& work = demo.state->workImage;
    work.copyFrom(demo.scenePicture(0));
    double time = t;
    double s = std::sin(2.0 * time);
    work.addBlit(demo.scenePicture(1), static_cast<int32_t>(std::cos(5.0 * time) * 20.0 + 70.0),
                 static_cast<int32_t>(s * 60.0 + 100.0));
    work.addBlit(demo.scenePicture(2), static_cast<int32_t>(std::cos(3.0 * time + 5.0) * 40.0 + 70.0),
                 static_cast<int32_t>(std::sin(3.0 * time + 50.0) * 30.0 + 100.0));
    work.addBlit(demo.scenePicture(3), static_cast<int32_t>(s * 30.0 + 70.0),
                 static_cast<int32_t>(std::cos(time) * 40.0 + 100.0));
}
