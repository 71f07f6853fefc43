#pragma once
#include <cstdint>

#include "common/frame_clock.h"
#include "demo/demo.h"
#include "demo/scenes.h"

// Moving a running show to another moment. A seek lands where `--start`
// would begin a show: the show's state is made afresh (the pictures and
// meshes stay loaded), the clock is moved, and the next frame runs the
// effect transitions up to its scene as a show begun there does.

// The first clock millisecond of `scene` (0..sceneCount-1), or of the end
// step for sceneCount: the smallest count whose show time the timeline puts
// in that scene or later.
uint32_t sceneStartMs(int scene);

// The show's length: the first millisecond of the end step.
inline uint32_t showEndMs() { return sceneStartMs(sceneCount); }

// The state a new Demo begins with: no effect object, stage 0, amplitude 0,
// the generator at its first state, the meshes at their starting pose, a
// clear wire layer and work image, no scene yet, no end.
void restartShow(Demo& demo);

// Sets the clock so that its show time reads `ms` now, and the next frame's
// delta is counted from now.
void moveClock(FrameClock& clock, uint32_t ms);
