// The analyser over synthetic streams with known answers: how fast a region
// flashes, how large it is, which quantity changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "flash/flash_analyser.h"

namespace {

struct Colour {
    uint8_t r, g, b;
};
constexpr Colour black{0, 0, 0}, white{255, 255, 255}, darkRed{160, 0, 0};

// Frame k of a stream: `region` (x, y, width, height; several rows apart
// with `rowStep` > 1) shows colourOf(k), the rest stays black.
struct Stream {
    int x = 0, y = 0, width = flash::frameWidth, height = flash::frameHeight, rowStep = 1;
    std::function<Colour(int)> colourOf;
};

std::vector<uint8_t> frameOf(const Stream& s, int k) {
    std::vector<uint8_t> frame(flash::frameBytes, 0);
    const Colour c = s.colourOf(k);
    for (int y = s.y; y < s.y + s.height; y += s.rowStep) {
        for (int x = s.x; x < s.x + s.width; ++x) {
            uint8_t* p = &frame[4 * (y * flash::frameWidth + x)];
            p[0] = c.b, p[1] = c.g, p[2] = c.r;
        }
    }
    return frame;
}

// The most flashes of any second over `frames` frames at 60 fps.
flash::SecondFlashes worstSecond(const Stream& s, int frames) {
    flash::FlashAnalyser analyser(60);
    flash::SecondFlashes worst;
    for (int k = 0; k < frames; ++k) {
        const flash::SecondFlashes f = analyser.addFrame(frameOf(s, k).data());
        worst.general = std::max(worst.general, f.general);
        worst.red = std::max(worst.red, f.red);
    }
    return worst;
}

// Two colours in turn, each held for `hold` frames; `changes` changes in
// all, then the last colour stays (0: no end).
std::function<Colour(int)> alternate(Colour a, Colour b, int hold, int changes = 0) {
    return [=](int k) {
        int turn = k / hold;
        if (changes > 0) turn = std::min(turn, changes);
        return turn % 2 ? b : a;
    };
}

// Black to white over `frames` frames, then white (once) or back again, and
// so on (repeated).
std::function<Colour(int)> fade(int frames, bool repeated) {
    return [=](int k) {
        const int phase = repeated ? k % (2 * frames) : std::min(k, frames);
        const int level = (phase < frames ? phase : 2 * frames - phase) * 255 / frames;
        const uint8_t v = static_cast<uint8_t>(level);
        return Colour{v, v, v};
    };
}

Stream square(int width, int height, std::function<Colour(int)> colours) {
    Stream s;
    s.x = (flash::frameWidth - width) / 2, s.y = (flash::frameHeight - height) / 2;
    s.width = width, s.height = height, s.colourOf = std::move(colours);
    return s;
}

struct Case {
    const char* name;
    Stream stream;
    int general, red;  // the most flashes in any second
    bool fails;
};

TEST(FlashAnalyser, SyntheticStreamsGiveTheirKnownFlashes) {
    Stream stripes = square(flash::frameWidth, flash::frameHeight, alternate(black, white, 5));
    stripes.rowStep = 2;
    const Case cases[] = {
        {"full screen, 2 a second", square(320, 240, alternate(black, white, 15)), 2, 0, false},
        {"full screen, 6 a second", square(320, 240, alternate(black, white, 5)), 6, 0, true},
        {"three pairs of changes", square(320, 240, alternate(black, white, 5, 7)), 3, 0, false},
        {"four pairs of changes", square(320, 240, alternate(black, white, 5, 8)), 4, 0, true},
        {"60x40 at 6 a second: too small", square(60, 40, alternate(black, white, 5)), 0, 0, false},
        {"120x90 at 6 a second", square(120, 90, alternate(black, white, 5)), 6, 0, true},
        {"every other row at 6 a second: the area is combined", stripes, 6, 0, true},
        {"saturated red, luminance below 0.1", square(320, 240, alternate(black, darkRed, 5)), 0, 6, true},
        {"both states at or above 0.8", square(320, 240, alternate({232, 232, 232}, white, 5)), 0, 0, false},
        {"a one-second fade", square(320, 240, fade(60, false)), 0, 0, false},
        {"one-second fades up and down: one flash", square(320, 240, fade(60, true)), 1, 0, false},
        {"fades of 5 frames up and down", square(320, 240, fade(5, true)), 6, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const flash::SecondFlashes worst = worstSecond(c.stream, 180);
        EXPECT_EQ(worst.general, c.general);
        EXPECT_EQ(worst.red, c.red);
        EXPECT_EQ(worst.failing(), c.fails);
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
