#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "common/random.h"
#include "demo/data_files.h"
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

// What the show keeps from frame to frame besides the Demo's pictures, work
// image and clock: the wire layer, the meshes, the sprites, the effect
// objects and their stage, the wave amplitude and the generator. One lives
// in each Demo, so starting a show is constructing it; it frees what it holds
// when it goes.
struct ShowState {
    ShowState() = default;
    ~ShowState();
    ShowState(const ShowState&) = delete;
    ShowState& operator=(const ShowState&) = delete;

    Random prng;
    std::unique_ptr<Image> wireLayer;
    Mesh meshes[meshCount] = {};  // the table's meshes, in its order
    std::array<std::unique_ptr<Image>, spriteCount> sprites;  // the table's sprites, in its order

    // The effect objects: at most one exists at a time, made and dropped by
    // the transitions between the stages.
    EffectStage effectStage = EffectStage::None;
    std::unique_ptr<Fader> fader;
    std::unique_ptr<ChannelDrift> channelDrift;
    std::unique_ptr<MaskedCrossFade> crossFade;
    std::unique_ptr<Lens> lens;

    float waveAmplitude = 0.0f;
};
