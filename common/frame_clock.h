#pragma once
#include <cstdint>

// The show's time, read from the platform's 32-bit millisecond tick counter.
class FrameClock {
public:
    FrameClock();
    virtual ~FrameClock();

    int32_t tick();                 // milliseconds since the previous tick
    double elapsedSeconds() const;  // (now - startTick) ms times the float 0.001

    uint32_t startTick;
    int32_t lastElapsed;
    int32_t frameCount;
    int32_t deltaMs;
};
