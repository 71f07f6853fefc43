#pragma once
#include <cstdint>

// The show's time, read from the platform's 32-bit millisecond tick counter.
class FrameClock {
public:
    FrameClock();
    virtual ~FrameClock();

    int32_t tick();                 // milliseconds since the previous tick
    double elapsedSeconds() const;  // (now - startTick) ms times the float 0.001

    // The seconds of a clock reading of `ms`, as elapsedSeconds forms them.
    static double secondsOf(uint32_t ms) { return static_cast<double>(ms) * static_cast<double>(0.001f); }

    uint32_t startTick;
    int32_t lastElapsed;
    int32_t frameCount;
    int32_t deltaMs;
};
