#include "common/frame_clock.h"

#include <utility>

FrameClock::FrameClock(TickSource ticks) : frameCount(0), deltaMs(0), ticks_(std::move(ticks)) {
    startTick = now();
    lastElapsed = static_cast<int32_t>(now() - startTick);
}

FrameClock::~FrameClock() = default;

int32_t FrameClock::tick() {
    // Unsigned 32-bit differences stay right across a wrap of the counter.
    int32_t elapsed = static_cast<int32_t>(now() - startTick);
    deltaMs = static_cast<int32_t>(static_cast<uint32_t>(elapsed) - static_cast<uint32_t>(lastElapsed));
    lastElapsed = elapsed;
    frameCount += 1;
    return deltaMs;
}

double FrameClock::elapsedSeconds() const { return secondsOf(now() - startTick); }

void FrameClock::moveTo(uint32_t ms) {
    startTick = now() - ms;
    lastElapsed = static_cast<int32_t>(ms);
}
