#include <cmath>
#include <cstdint>

#include "common/random.h"
#include "demo/scenes.h"
#include "demo/show_state.h"

namespace {

// The effect stage each scene needs: 1 the fader exists, 2 it is gone, 3 the
// channel drift, 4 the cross-fade, 5 the lens, 6 none any more.
const int32_t stageOfScene[sceneCount] = {1, 2, 2, 2, 2, 2, 2, 2, 3, 4, 5, 6, 6, 6};

// Takes the one transition that leaves the current stage.
void takeTransition(Demo& demo, float t) {
    switch (effectStage) {
        case 0:
            demo.fader = new Fader(*demo.workImage, *demo.pictures[2], t, 5.5f);
            break;
        case 1:
            delete demo.fader;
            demo.fader = nullptr;
            break;
        case 2:
            channelDrift = new ChannelDrift("vok_girl.pcx", "vok_zumber.pcx");
            break;
        case 3:
            delete channelDrift;
            channelDrift = nullptr;
            demo.crossFade = new MaskedCrossFade("vok_vesk.pcx", "vok_girl.pcx", "vok_mask.pcx");
            break;
        case 4:
            delete demo.crossFade;
            demo.crossFade = nullptr;
            demo.lens = new Lens();
            break;
        case 5:
            delete demo.lens;
            demo.lens = nullptr;
            break;
        default:
            return;
    }
    ++effectStage;
}

void jitterScene(Demo& demo) {
    Image& work = *demo.workImage;
    Image& credits = *demo.pictures[5];
    work.copyFrom(*demo.pictures[4]);
    int32_t y = prng::rand() % 8;
    int32_t x = prng::rand() % 8;
    work.addBlit(credits, x, y);
    work.addSaturate(credits);
}

void lensScene(Demo& demo, float t) {
    double time = t;
    int32_t x = static_cast<int32_t>(std::cos(time + static_cast<double>(88.5f)) * static_cast<double>(64.0f) +
                                     static_cast<double>(110.0f));
    int32_t y = static_cast<int32_t>(std::sin(time + static_cast<double>(88.3f)) * static_cast<double>(16.0f) +
                                     static_cast<double>(40.0f));
    demo.lens->apply(*demo.workImage, *demo.pictures[4], x, y);
}

}  // namespace

// In a normal show each scene's first frame takes exactly its own transition.
// After a stall longer than a whole scene (or a show begun late) the skipped
// ones run here in order, so no scene uses an effect object that does not exist.
void advanceEffectStage(Demo& demo, int scene, float t) {
    while (effectStage < stageOfScene[scene]) takeTransition(demo, t);
}

void deleteEffectObjects(Demo& demo) {
    delete demo.fader;
    delete demo.crossFade;
    delete demo.lens;
    delete channelDrift;
    demo.fader = nullptr;
    demo.crossFade = nullptr;
    demo.lens = nullptr;
    channelDrift = nullptr;
}

void drawEffectScene(Demo& demo, int scene, float t) {
    switch (scene) {
        case 8: channelDrift->render(*demo.workImage); break;
        case 9: demo.crossFade->render(*demo.workImage); break;
        case 10: lensScene(demo, t); break;
        default: jitterScene(demo); break;
    }
}
