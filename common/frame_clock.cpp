#include "common/frame_clock.h"

#include "platform/platform.h"

FrameClock::FrameClock() : startTick(platform::tickCount()), frameCount(0), deltaMs(0) {
    lastElapsed = static_cast<int32_t>(platform::tickCount() - startTick);
}

FrameClock::~FrameClock() = default;

int32_t FrameClock::tick() {
    // Unsigned 32-bit differences stay right across a wrap of the counter.
    int32_t elapsed = static_cast<int32_t>(platform::tickCount() - startTick);
    deltaMs = static_cast<int32_t>(static_cast<uint32_t>(elapsed) - static_cast<uint32_t>(lastElapsed));
    lastElapsed = elapsed;
    frameCount += 1;
    return deltaMs;
}

double FrameClock::elapsedSeconds() const {
    return secondsOf(platform::tickCount() - startTick);
}
