// The timeline: the scene of a show time, and the effect objects' transitions.
#include <cstring>
#include <memory>

#include "common/frame_clock.h"
#include "demo/scenes.h"

int sceneForTime(float t) {
    double time = t;
    for (int scene = 0; scene < sceneCount; ++scene) {
        if (time < sceneTable[scene].end) return scene;
    }
    return sceneEnd;
}

int sceneNamed(const char* name) {
    for (int scene = 0; scene < sceneCount; ++scene) {
        if (std::strcmp(sceneTable[scene].name, name) == 0) return scene;
    }
    return -1;
}

const char* sceneName(int scene, const char* outside) {
    return scene >= 0 && scene < sceneCount ? sceneTable[scene].name : outside;
}

int sceneAtMs(uint32_t ms) { return sceneForTime(static_cast<float>(FrameClock::secondsOf(ms))); }

namespace {

// The first row whose scene needs `stage`: the effect it brings in takes that
// row's files.
const Scene& rowBringingIn(EffectStage stage) {
    int scene = 0;
    while (scene + 1 < sceneCount && sceneTable[scene].stage != stage) ++scene;
    return sceneTable[scene];
}

// Takes the one transition that leaves the current stage for the next.
void takeTransition(Demo& demo, float t) {
    ShowState& state = *demo.state;
    const EffectStage next = static_cast<EffectStage>(static_cast<int32_t>(state.effectStage) + 1);
    const char* const* files = rowBringingIn(next).files;
    switch (state.effectStage) {
        case EffectStage::None:  // to Fader
            state.fader = std::make_unique<Fader>(state.workImage, demo.assets.picture(dataFileIndex(files[0])), t, 5.5f);
            break;
        case EffectStage::Fader:  // to FaderGone
            state.fader.reset();
            break;
        case EffectStage::FaderGone:  // to ChannelDrift
            state.channelDrift = std::make_unique<ChannelDrift>(files[0], files[1], state.prng, demo.context);
            break;
        case EffectStage::ChannelDrift:  // to CrossFade
            state.channelDrift.reset();
            state.crossFade = std::make_unique<MaskedCrossFade>(files[0], files[1], files[2], demo.context);
            break;
        case EffectStage::CrossFade:  // to Lens
            state.crossFade.reset();
            state.lens = std::make_unique<Lens>();
            break;
        case EffectStage::Lens:  // to AllGone
            state.lens.reset();
            break;
        case EffectStage::AllGone:
            return;
    }
    state.effectStage = next;
}

}  // namespace

// In a normal show each scene's first frame takes exactly its own transition.
// After a stall longer than a whole scene (or a show begun late) the skipped
// ones run here in order, so no scene uses an effect object that does not exist.
void advanceEffectStage(Demo& demo, EffectStage stage, float t) {
    while (demo.state->effectStage < stage) takeTransition(demo, t);
}
