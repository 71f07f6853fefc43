#pragma once
#include <cstdint>

#include "common/show_context.h"

// The show's time, read from a 32-bit millisecond tick counter.
class FrameClock {
public:
    explicit FrameClock(TickSource ticks);
    virtual ~FrameClock();

    int32_t tick();                 // milliseconds since the previous tick
    double elapsedSeconds() const;  // (now - startTick) ms times the float 0.001
    uint32_t now() const { return ticks_(); }  // the counter's reading

    // Sets the clock so that its show time reads `ms` now, and the next
    // tick's delta is counted from now.
    void moveTo(uint32_t ms);

    // The seconds of a clock reading of `ms`, as elapsedSeconds forms them.
    static double secondsOf(uint32_t ms) { return static_cast<double>(ms) * static_cast<double>(0.001f); }

    uint32_t startTick;
    int32_t lastElapsed;
    int32_t frameCount;
    int32_t deltaMs;

private:
    TickSource ticks_;
};
