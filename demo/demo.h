#pragma once
#include <cstdint>

#include "app/frame_clock.h"
#include "effects/channel_drift.h"
#include "effects/fader.h"
#include "effects/lens.h"
#include "effects/masked_cross_fade.h"
#include "image/image.h"

// The one object that owns the show: the work image, the picture table, the
// effect slots and the clock. renderFrame() draws the scene of the moment.
class Demo {
public:
    Demo();  // loads everything, resets all process-wide show state; the clock last
    virtual ~Demo();
    Demo(const Demo&) = delete;
    Demo& operator=(const Demo&) = delete;

    int renderFrame();  // always 1

    Image** pictures;  // nine slots
    Fader* fader = nullptr;
    Lens* lens = nullptr;
    MaskedCrossFade* crossFade = nullptr;
    Image* workImage;
    FrameClock* clock;

    // Set by the end step, which draws nothing; the backend then ends its loop.
    bool quitRequested = false;
    // The scene of the latest frame, 0..13, or sceneEnd for the end step.
    int lastScene = -1;
};

constexpr int sceneCount = 14;
constexpr int sceneEnd = 14;

// The scene of show time t (a rounded float): 0..13, or sceneEnd at or after 99.3096 s.
int sceneForTime(float t);
