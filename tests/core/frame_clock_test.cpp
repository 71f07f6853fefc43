#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "common/frame_clock.h"

namespace {

// The clock reads a tick counter the test moves by hand.
class FrameClockTest : public ::testing::Test {
protected:
    uint32_t fakeNow = 1000;
    TickSource ticks = [this] { return fakeNow; };
};

}  // namespace

TEST_F(FrameClockTest, StartsAtZero) {
    FrameClock clock(ticks);
    EXPECT_EQ(clock.startTick, 1000u);
    EXPECT_EQ(clock.lastElapsed, 0);
    EXPECT_EQ(clock.frameCount, 0);
    EXPECT_EQ(clock.elapsedSeconds(), 0.0);
}

TEST_F(FrameClockTest, ConstructorTakesTwoReadings) {
    uint32_t countingNow = 500;  // advances by one millisecond on every reading
    FrameClock clock([&countingNow] { return countingNow++; });
    EXPECT_EQ(clock.startTick, 500u);
    EXPECT_EQ(clock.lastElapsed, 1);
    // The first tick reads 502: 2 ms since start, 1 ms since the second reading.
    EXPECT_EQ(clock.tick(), 1);
    EXPECT_EQ(clock.lastElapsed, 2);
}

TEST_F(FrameClockTest, TickReturnsAndStoresTheFrameMilliseconds) {
    FrameClock clock(ticks);
    fakeNow += 16;
    EXPECT_EQ(clock.tick(), 16);
    EXPECT_EQ(clock.deltaMs, 16);
    fakeNow += 17;
    EXPECT_EQ(clock.tick(), 17);
    EXPECT_EQ(clock.deltaMs, 17);
    EXPECT_EQ(clock.lastElapsed, 33);
    EXPECT_EQ(clock.frameCount, 2);
}

TEST_F(FrameClockTest, TwoTicksInOneCounterPeriod) {
    FrameClock clock(ticks);
    fakeNow += 40;
    clock.tick();
    EXPECT_EQ(clock.tick(), 0);
    EXPECT_EQ(clock.deltaMs, 0);
    EXPECT_EQ(clock.lastElapsed, 40);
    EXPECT_EQ(clock.frameCount, 2);
}

TEST_F(FrameClockTest, ElapsedSecondsUsesTheFloatFactor) {
    FrameClock clock(ticks);
    fakeNow += 99310;
    double seconds = clock.elapsedSeconds();
    EXPECT_EQ(seconds, 99310.0 * 0.001000000047497451305389404296875);
    EXPECT_GE(seconds, 99.3096);
    EXPECT_GE(static_cast<float>(seconds), 99.3096f);
    fakeNow -= 1;
    EXPECT_LT(clock.elapsedSeconds(), 99.3096);
}

TEST_F(FrameClockTest, ElapsedSecondsIsIndependentOfTicks) {
    FrameClock clock(ticks);
    fakeNow += 250;
    EXPECT_EQ(clock.elapsedSeconds(), 250 * static_cast<double>(0.001f));
    EXPECT_EQ(clock.frameCount, 0);
    fakeNow += 250;
    clock.tick();
    EXPECT_EQ(clock.elapsedSeconds(), 500 * static_cast<double>(0.001f));
}

TEST_F(FrameClockTest, CounterWrapBetweenReadings) {
    fakeNow = 0xFFFFFF00u;
    FrameClock clock(ticks);
    fakeNow = 0x00000100u;
    EXPECT_EQ(clock.tick(), 512);
    EXPECT_EQ(clock.elapsedSeconds(), 512 * static_cast<double>(0.001f));
    fakeNow += 8;
    EXPECT_EQ(clock.tick(), 8);
}

// Past 2^31 ms the elapsed milliseconds no longer fit a signed 32-bit number;
// the frame difference stays right and the seconds stay positive.
TEST_F(FrameClockTest, MoreThanTwoToTheThirtyOneMilliseconds) {
    fakeNow = 0;
    FrameClock clock(ticks);
    fakeNow = 0x7FFFFFF0u;
    clock.tick();
    fakeNow = 0x80000010u;
    EXPECT_EQ(clock.tick(), 32);
    EXPECT_GT(clock.elapsedSeconds(), 2147483.0);
    fakeNow = 0xFFFFFFFFu;
    EXPECT_EQ(clock.elapsedSeconds(), 4294967295.0 * static_cast<double>(0.001f));
}
