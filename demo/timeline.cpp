// The timeline: the scene of a show time, and the effect objects' transitions.
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

const char* sceneName(int scene, const char* outside) {
    return scene >= 0 && scene < sceneCount ? sceneTable[scene].name : outside;
}

int sceneAtMs(uint32_t ms) { return sceneForTime(static_cast<float>(FrameClock::secondsOf(ms))); }

namespace {

// Takes the one transition that leaves the current stage for the next.
void takeTransition(Demo& demo, float t) {
    ShowState& state = demo.state;
    switch (state.effectStage) {
        case EffectStage::None:  // to Fader
            state.fader = std::make_unique<Fader>(*demo.workImage, demo.picture(Picture::Zumber), t, 5.5f);
            break;
        case EffectStage::Fader:  // to FaderGone
            state.fader.reset();
            break;
        case EffectStage::FaderGone:  // to ChannelDrift
            state.channelDrift = std::make_unique<ChannelDrift>(pictureFile(Picture::Girl), pictureFile(Picture::Zumber),
                                                                state.prng, demo.messages);
            break;
        case EffectStage::ChannelDrift:  // to CrossFade
            state.channelDrift.reset();
            state.crossFade = std::make_unique<MaskedCrossFade>(pictureFile(Picture::Vesk), pictureFile(Picture::Girl),
                                                                pictureFile(Picture::Mask), demo.messages);
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
    state.effectStage = static_cast<EffectStage>(static_cast<int32_t>(state.effectStage) + 1);
}

}  // namespace

// In a normal show each scene's first frame takes exactly its own transition.
// After a stall longer than a whole scene (or a show begun late) the skipped
// ones run here in order, so no scene uses an effect object that does not exist.
void advanceEffectStage(Demo& demo, EffectStage stage, float t) {
    while (demo.state.effectStage < stage) takeTransition(demo, t);
}
