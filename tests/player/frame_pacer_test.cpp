// The live loop's pacing where presenting does not wait for the refresh.
#include <gtest/gtest.h>

#include "app/sdl/frame_pacer.h"

namespace {

constexpr double period = 1.0 / 60;

// Feeds frames that each take `work` seconds, sleeping as the pacer says,
// and returns the frame rate reached over the second of two seconds.
double frameRate(FramePacer& pacer, double work) {
    double now = 100.0, first = 0.0;
    int intervals = -1;
    while (now < 102.0) {
        now += work;
        now += pacer.afterFrame(now);
        if (now > 101.0 && ++intervals == 0) first = now;
    }
    return intervals / (now - first);
}

TEST(FramePacer, HoldsAFastLoopToTheRefreshRate) {
    struct Case {
        const char* what;
        bool presentWaits;
        double work;  // seconds a frame takes, presenting included
        double lowest, highest;
    } cases[] = {
        {"vsync refused: paced from the first frame", false, 0.001, 59.5, 60.5},
        {"vsync granted but not waiting: paced after watching", true, 0.001, 59.5, 60.5},
        {"presenting waits: left alone", true, period, 59.5, 60.5},
        {"a slow machine is never held back", false, 0.030, 33.0, 33.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FramePacer pacer(60, c.presentWaits);
        const double rate = frameRate(pacer, c.work);
        EXPECT_GE(rate, c.lowest);
        EXPECT_LE(rate, c.highest);
    }
}

TEST(FramePacer, WatchesBeforeDecidingAndLateFramesDoNotHurry) {
    FramePacer pacer(60, true);
    EXPECT_EQ(pacer.afterFrame(1.0), 0.0);
    EXPECT_EQ(pacer.afterFrame(1.0 + FramePacer::watchSeconds / 2), 0.0);
    EXPECT_FALSE(pacer.pacing()) << "still watching";
    for (double t = 1.01; t < 1.0 + FramePacer::watchSeconds; t += 0.001) pacer.afterFrame(t);
    const double decided = 1.0 + FramePacer::watchSeconds + 0.001;
    EXPECT_EQ(pacer.afterFrame(decided), 0.0);
    EXPECT_TRUE(pacer.pacing());
    EXPECT_NEAR(pacer.afterFrame(decided + 0.001), period - 0.001, 1e-9);

    // A frame half a second late goes on at once; the next keeps a whole period after it.
    EXPECT_EQ(pacer.afterFrame(2.0), 0.0);
    EXPECT_NEAR(pacer.afterFrame(2.001), period - 0.001, 1e-9);
}

}  // namespace
