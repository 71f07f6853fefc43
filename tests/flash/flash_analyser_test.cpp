// The analyser over synthetic streams at 60 frames a second with known
// verdicts under both readings: how fast a region flashes, how large it is,
// whether its pixels flash together, which quantity changes, how long it
// lasts.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "flash/flash_record.h"
#include "flash/gentle_screen.h"

namespace {

using flash::Status;

struct Colour {
    uint8_t r, g, b;
};
constexpr Colour black{0, 0, 0}, white{255, 255, 255}, darkRed{160, 0, 0};

using Frame = std::vector<uint8_t>;

void fill(Frame& frame, int x0, int y0, int width, int height, Colour c) {
    for (int y = std::max(0, y0); y < std::min(flash::frameHeight, y0 + height); ++y) {
        for (int x = std::max(0, x0); x < std::min(flash::frameWidth, x0 + width); ++x) {
            uint8_t* p = &frame[4 * (y * flash::frameWidth + x)];
            p[0] = c.b, p[1] = c.g, p[2] = c.r;
        }
    }
}

// Frame k of a stream drawn over black.
using Painter = std::function<void(int k, Frame& frame)>;

// A centred rectangle that is `on` in alternate periods of `hold` frames.
Painter blinking(int width, int height, int hold, Colour on = white) {
    return [=](int k, Frame& frame) {
        if ((k / hold) % 2) fill(frame, (flash::frameWidth - width) / 2, (flash::frameHeight - height) / 2, width, height, on);
    };
}

// The whole screen black and white in turn, changing `changesPerMinute`
// times a minute (two changes a flash), spread so that every second of
// 60 frames holds the same number of changes.
Painter flashing(int changesPerMinute) {
    return [=](int k, Frame& frame) {
        if ((k * changesPerMinute / 3600) % 2) fill(frame, 0, 0, flash::frameWidth, flash::frameHeight, white);
    };
}

// A vertical white bar, 22 pixels wide, crossing the screen from left to
// right every 15 frames.
void sweepingBar(int k, Frame& frame) { fill(frame, (k % 15) * flash::frameWidth / 15 - 11, 0, 22, flash::frameHeight, white); }

void halvesOutOfPhase(int k, Frame& frame) {
    fill(frame, (k / 10) % 2 ? 0 : flash::frameWidth / 2, 0, flash::frameWidth / 2, flash::frameHeight, white);
}

void checkerboard(int k, Frame& frame) {
    for (int y = 0; y < flash::frameHeight; y += 40)
        for (int x = 0; x < flash::frameWidth; x += 40)
            if ((x / 40 + y / 40 + k / 5) % 2) fill(frame, x, y, 40, 40, white);
}

// Up in five steps and down in five, six times a second, in five sets of
// columns whose levels differ so that each set crosses the 0.1 threshold at
// a frame of its own, rising and falling: no frame changes more than a
// fifth of any area, yet every column is up at once.
void unevenFlicker(int k, Frame& frame) {
    static const int floors[5] = {108, 80, 80, 60, 4}, peaks[5] = {254, 175, 145, 119, 90};
    const int phase = k % 10, level = phase <= 5 ? phase : 10 - phase;
    for (int x = 0; x < flash::frameWidth; ++x) {
        const int set = x % 5;
        const uint8_t v = static_cast<uint8_t>(floors[set] + (peaks[set] - floors[set]) * level / 5);
        fill(frame, x, 0, 1, flash::frameHeight, {v, v, v});
    }
}

void slowFade(int k, Frame& frame) {
    const uint8_t v = static_cast<uint8_t>(std::min(255, k * 255 / 150));
    fill(frame, 0, 0, flash::frameWidth, flash::frameHeight, {v, v, v});
}

struct Case {
    const char* name;
    Painter paint;
    int seconds;
    Status wcag, broadcast;
    int general, red;  // the WCAG reading's most transitions in a second
    flash::FieldSize field = flash::wcagField;
};

// The stream's record; with `gentle`, the record of what --gentle shows of
// it, and in `heldFrames` how many frames it did not show as drawn.
flash::FlashRecord analyse(const Case& c, bool gentle = false, int* heldFrames = nullptr) {
    flash::FlashRecord record;
    record.field = c.field;
    flash::FlashAnalyser analyser(c.field);
    GentleScreen screen(c.field);
    Image work;
    for (int k = 0; k < 60 * c.seconds; ++k) {
        Frame frame(flash::frameBytes, 0);
        c.paint(k, frame);
        const uint32_t ms = flash::frameMs(k, 60);
        const uint8_t* shown = frame.data();
        if (gentle) {
            std::copy(frame.begin(), frame.end(), work.pixels);
            shown = screen.show(work, ms).pixels;
            *heldFrames += !std::equal(frame.begin(), frame.end(), shown);
        }
        record.add(analyser.addFrame(shown, ms), -1);
    }
    return record;
}

TEST(FlashAnalyser, SyntheticStreamsGetTheirStatusUnderBothReadings) {
    const Case cases[] = {
        {"full screen, 3 flashes a second", flashing(360), 3, Status::Warning, Status::Warning, 6, 0},
        {"full screen, 3.5 flashes a second", flashing(420), 3, Status::Fail, Status::Fail, 7, 0},
        {"50x40 square, 6 a second", blinking(50, 40, 5), 3, Status::Pass, Status::Pass, 0, 0},
        {"60x40 square, 6 a second", blinking(60, 40, 5), 3, Status::Fail, Status::Pass, 12, 0},
        {"60x40 square in a 214x160 field", blinking(60, 40, 5), 3, Status::Pass, Status::Pass, 0, 0, {214, 160}},
        {"a 300x230 field over its quarter", blinking(200, 120, 5), 3, Status::Fail, Status::Fail, 12, 0, {300, 230}},
        {"22-pixel bar sweeping by 4 times a second", sweepingBar, 3, Status::Pass, Status::Pass, 1, 0},
        {"halves out of phase, 3 a second each", halvesOutOfPhase, 3, Status::Warning, Status::Warning, 6, 0},
        {"checkerboard reversing 12 times a second", checkerboard, 3, Status::Fail, Status::Fail, 12, 0},
        {"red 160 on black, 6 a second", blinking(320, 240, 5, darkRed), 3, Status::Fail, Status::Fail, 0, 12},
        {"uneven flicker, 6 a second", unevenFlicker, 3, Status::Fail, Status::Fail, 12, 0},
        {"full screen, 2.5 a second for 6 s", flashing(300), 6, Status::Warning, Status::Fail, 5, 0},
        {"full screen, 3 a second for 6 s", flashing(360), 6, Status::Warning, Status::Fail, 6, 0},
        {"slow fade", slowFade, 3, Status::Pass, Status::Pass, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const flash::FlashRecord record = analyse(c);
        const flash::Summary wcag = flash::summarise(record, flash::Reading::Wcag, 0, record.frames.size());
        const flash::Summary broadcast = flash::summarise(record, flash::Reading::Broadcast, 0, record.frames.size());
        EXPECT_EQ(flash::statusName(wcag.status), std::string(flash::statusName(c.wcag)));
        EXPECT_EQ(flash::statusName(broadcast.status), std::string(flash::statusName(c.broadcast)));
        EXPECT_EQ(wcag.general.transitions, c.general);
        EXPECT_EQ(wcag.red.transitions, c.red);

        // --gentle shows a passing stream as drawn and any other so that it
        // passes both readings.
        int heldFrames = 0;
        const flash::FlashRecord shown = analyse(c, true, &heldFrames);
        for (flash::Reading reading : {flash::Reading::Wcag, flash::Reading::Broadcast})
            EXPECT_NE(flash::summarise(shown, reading, 0, shown.frames.size()).status, Status::Fail);
        if (c.wcag == Status::Pass && c.broadcast == Status::Pass) {
            EXPECT_EQ(heldFrames, 0);
        } else if (c.wcag == Status::Fail || c.broadcast == Status::Fail) {
            EXPECT_GT(heldFrames, 0);
        }
    }
}

TEST(FlashAnalyser, LuminanceAndRednessFollowWcag) {
    EXPECT_DOUBLE_EQ(flash::relativeLuminance(0, 0, 0), 0.0);
    EXPECT_NEAR(flash::relativeLuminance(255, 255, 255), 1.0, 1e-6);
    EXPECT_NEAR(flash::relativeLuminance(160, 0, 0), 0.2126 * 0.351533, 1e-5);
    EXPECT_NEAR(flash::redQuantity(160, 0, 0), 0.351533 * 320, 1e-3);
    EXPECT_EQ(flash::redQuantity(100, 100, 0), 0.0);  // negative values count as 0
}

}  // namespace
