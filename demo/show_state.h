#pragma once
#include <cstdint>
#include <memory>

#include "common/random.h"
#include "effects/channel_drift.h"
#include "image/image.h"
#include "wire3d/mesh.h"

// What the show keeps from frame to frame besides the Demo's own assets: the
// wire layer, the five meshes, the three sprites, the channel drift, the
// effect stage, the wave amplitude and the generator. One lives in each Demo,
// so starting a show is constructing it; it frees what it holds when it goes.
struct ShowState {
    ShowState() = default;
    ~ShowState();
    ShowState(const ShowState&) = delete;
    ShowState& operator=(const ShowState&) = delete;

    Random prng;
    std::unique_ptr<Image> wireLayer;
    Mesh meshes[meshCount] = {};  // 0 v, 1 o, 2 k, 3 e, 4 test
    std::unique_ptr<Image> sprite1, sprite2, sprite3;
    std::unique_ptr<ChannelDrift> channelDrift;
    int32_t effectStage = 0;  // 0 none, 1 fader, 2 fader gone, 3 drift, 4 cross-fade, 5 lens, 6 all gone
    float waveAmplitude = 0.0f;
};
