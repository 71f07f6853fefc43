#pragma once
#include <cstdint>

#include "demo/scenes.h"

// Where a seek lands. A seek begins a new run of the show at a moment, as
// `--start` would (Demo::restart); these name the moments of the scenes.

// The first clock millisecond of `scene` (0..sceneCount-1), or of the end
// step for sceneCount: the smallest count whose show time the timeline puts
// in that scene or later.
uint32_t sceneStartMs(int scene);

// The show's length: the first millisecond of the end step.
inline uint32_t showEndMs() { return sceneStartMs(sceneCount); }
