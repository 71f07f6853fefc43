#pragma once
#include <cstdint>

#include "effects/channel_drift.h"
#include "image/image.h"

// Process-wide state of the show. A new Demo resets all of it (and the
// generator, the meshes and the lens fields), so a show can run twice in one process.
extern Image* wireLayer;
extern Image* sprite1;
extern Image* sprite2;
extern Image* sprite3;
extern ChannelDrift* channelDrift;
extern int32_t effectStage;  // 0 none, 1 fader, 2 fader gone, 3 drift, 4 cross-fade, 5 lens, 6 all gone
extern float waveAmplitude;
