#include <cmath>
#include <cstdint>

#include "demo/demo.h"
#include "demo/scenes.h"
#include "demo/show_state.h"
#include "effects/wave_warp.h"

namespace {

// One unit of the show, as a float; every scene bound is a multiple of it.
constexpr float unit = 8.2758f;

// The end bound of each scene. Whole multiples are rounded to float; the two
// half-unit bounds of the letter scenes stay in double.
const double sceneEnds[sceneCount] = {
    static_cast<float>(unit * 1.0f),  static_cast<float>(unit * 2.0f),  static_cast<float>(unit * 3.0f),
    static_cast<double>(unit) * 3.5,  static_cast<float>(unit * 4.0f),  static_cast<double>(unit) * 4.5,
    static_cast<float>(unit * 5.0f),  static_cast<float>(unit * 6.0f),  static_cast<float>(unit * 7.0f),
    static_cast<float>(unit * 8.0f),  static_cast<float>(unit * 9.0f),  static_cast<float>(unit * 10.0f),
    static_cast<float>(unit * 11.0f), static_cast<float>(unit * 12.0f),
};

constexpr float waveSpeed = 0.015f;  // amplitude pixels per millisecond

void fadeScene(Demo& demo, float t) { demo.fader->update(t); }

void waveScene(Demo& demo, int slot, float t, double direction) {
    waveWarp(*demo.workImage, *demo.pictures[slot], t, waveAmplitude);
    double change = static_cast<double>(static_cast<uint32_t>(demo.clock->deltaMs)) * static_cast<double>(waveSpeed);
    waveAmplitude = static_cast<float>(static_cast<double>(waveAmplitude) + direction * change);
}

void spriteScene(Demo& demo, float t) {
    Image& work = *demo.workImage;
    work.copyFrom(*demo.pictures[3]);
    double time = t;
    double s = std::sin(2.0 * time);
    work.addBlit(*sprite1, static_cast<int32_t>(std::cos(5.0 * time) * 20.0 + 70.0),
                 static_cast<int32_t>(s * 60.0 + 100.0));
    work.addBlit(*sprite2, static_cast<int32_t>(std::cos(3.0 * time + 5.0) * 40.0 + 70.0),
                 static_cast<int32_t>(std::sin(3.0 * time + 50.0) * 30.0 + 100.0));
    work.addBlit(*sprite3, static_cast<int32_t>(s * 30.0 + 70.0), static_cast<int32_t>(std::cos(time) * 40.0 + 100.0));
}

}  // namespace

int sceneForTime(float t) {
    double time = t;
    for (int scene = 0; scene < sceneCount; ++scene) {
        if (time < sceneEnds[scene]) return scene;
    }
    return sceneEnd;
}

int Demo::renderFrame() {
    float t = static_cast<float>(clock->elapsedSeconds());
    int scene = sceneForTime(t);
    lastScene = scene;
    if (scene == sceneEnd) {
        quitRequested = true;  // nothing is drawn: the previous picture stays
        return 1;
    }
    advanceEffectStage(*this, scene, t);
    switch (scene) {
        case 0: fadeScene(*this, t); break;
        case 1: waveScene(*this, 0, t, +1.0); break;
        case 2: waveScene(*this, 1, t, -1.0); break;
        case 3: case 4: case 5: case 6: drawLetterScene(*this, scene, t); break;
        case 7: spriteScene(*this, t); break;
        case 8: case 9: case 10: case 11: drawEffectScene(*this, scene, t); break;
        default: drawObjectScene(*this, scene, t); break;
    }
    return 1;
}
