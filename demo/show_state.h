#pragma once
#include <cstdint>
#include <memory>

#include "common/random.h"
#include "demo/data_files.h"
#include "demo/show_assets.h"
#include "effects/channel_drift.h"
#include "effects/fader.h"
#include "effects/lens.h"
#include "effects/masked_cross_fade.h"
#include "image/image.h"
#include "wire3d/mesh.h"

// Which effect objects exist. The show goes through the stages in this order,
// one transition from each to the next (takeTransition in demo/timeline.cpp):
// each scene-table row names the stage its scene needs, and the timeline
// takes the transitions up to it on the scene's first frame.
enum class EffectStage : int32_t {
    None,          // before the first frame
    Fader,         // the fader exists
    FaderGone,     // no effect object
    ChannelDrift,  // the channel drift exists
    CrossFade,     // the masked cross-fade exists
    Lens,          // the lens exists
    AllGone,       // no effect object any more
};

// Everything one run of the show keeps from frame to frame: the work image,
// the wire layer, the meshes with their pose and colour, the effect objects
// and their stage, the wave amplitude, the generator, and the scene of the
// latest frame. A run begins by constructing it from the loaded assets, and
// a seek constructs it anew, so nothing of an earlier run can survive.
struct ShowState {
    explicit ShowState(const ShowAssets& assets);
    ~ShowState();
    ShowState(const ShowState&) = delete;
    ShowState& operator=(const ShowState&) = delete;

    Random prng;
    Image workImage;  // what the frame shows, 320x240
    Image wireLayer;  // the 3D scenes draw their wireframe here first
    Mesh meshes[meshCount] = {};  // copies of the loaded meshes, in the table's order

    // The effect objects: at most one exists at a time, made and dropped by
    // the transitions between the stages.
    EffectStage effectStage = EffectStage::None;
    std::unique_ptr<Fader> fader;
    std::unique_ptr<ChannelDrift> channelDrift;
    std::unique_ptr<MaskedCrossFade> crossFade;
    std::unique_ptr<Lens> lens;

    float waveAmplitude = 0.0f;

    // The scene of the latest frame (its row in sceneTable), or sceneEnd once
    // the end step was taken; -1 before the first frame.
    int lastScene = -1;
    // Set by the end step, which draws nothing; the program then ends its loop.
    bool quitRequested = false;
};
