// Each pixel's transitions, four at a time with vector arithmetic and
// skipping red tracks at rest, against the rule written out plainly for one
// pixel, over random frames of greys, whites and reds of every strength.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "flash/pixel_tracks.h"

namespace {

float decoded(int value) {
    const double c = value / 255.0;
    return static_cast<float>(c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
}

// One pixel as the rule reads: from the extreme since the last transition,
// the other way than that one.
struct PlainPixel {
    float low[2], high[2];
    int direction[2] = {0, 0};
    bool highSaturated = false;

    static void values(uint32_t colour, float& luminance, float& red, bool& saturated) {
        const float r = decoded(colour >> 16), g = decoded((colour >> 8) & 0xFF), b = decoded(colour & 0xFF);
        luminance = 0.2126f * r + 0.7152f * g + 0.0722f * b;
        red = std::max(0.0f, (r - g - b) * 320.0f);
        saturated = r > 0.0f && r >= 0.8f * (r + g + b);
    }
    explicit PlainPixel(uint32_t colour) {
        values(colour, low[0], low[1], highSaturated);
        high[0] = low[0], high[1] = low[1];
    }
    // The directions of this colour's transitions, general and red (0: none).
    void step(uint32_t colour, int moved[2]) {
        float v[2];
        bool saturated;
        values(colour, v[0], v[1], saturated);
        const bool rise[2] = {v[0] - low[0] >= 0.1f && low[0] < 0.8f, v[1] - low[1] > 20.0f && saturated};
        const bool fall[2] = {high[0] - v[0] >= 0.1f && v[0] < 0.8f, high[1] - v[1] > 20.0f && highSaturated};
        for (int k = 0; k < 2; ++k) {
            moved[k] = direction[k] != 1 && rise[k] ? 1 : direction[k] != -1 && fall[k] ? -1 : 0;
            if (moved[k]) {
                low[k] = high[k] = v[k], direction[k] = moved[k];
                if (k == 1) highSaturated = saturated;
                continue;
            }
            low[k] = std::min(low[k], v[k]);
            if (v[k] > high[k]) high[k] = v[k], highSaturated = k == 1 ? saturated : highSaturated;
        }
    }
};

uint32_t nextRandom(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

// A colour of one of the kinds that matter: grey, red of any strength with
// a little green and blue, or orange.
uint32_t randomColour(uint32_t& seed) {
    const uint32_t level = nextRandom(seed) & 0xFF, small = nextRandom(seed) % 40;
    switch (nextRandom(seed) % 3) {
        case 0: return level * 0x010101u;
        case 1: return (level << 16) | (small << 8) | (small / 2);
        default: return (level << 16) | ((level / 2) << 8);
    }
}

TEST(PixelTracks, FourAtATimeMakeTheTransitionsOfTheRuleForEachPixel) {
    uint32_t seed = 5;
    std::vector<uint32_t> colours(flash::framePixels);
    for (uint32_t& c : colours) c = randomColour(seed);
    std::vector<PlainPixel> plain(colours.begin(), colours.end());
    flash::PixelTracks tracks;
    std::vector<uint8_t> frame(flash::frameBytes);
    std::memcpy(frame.data(), colours.data(), frame.size());
    tracks.step(frame.data(), 1);
    int transitions = 0;
    for (uint32_t serial = 2; serial < 120; ++serial) {
        for (uint32_t& c : colours)
            if (nextRandom(seed) % 3 == 0) c = randomColour(seed);  // the rest stay as they were
        std::memcpy(frame.data(), colours.data(), frame.size());
        std::vector<flash::Stamp> before[2] = {{tracks.stamps(flash::General), tracks.stamps(flash::General) + flash::framePixels},
                                               {tracks.stamps(flash::Red), tracks.stamps(flash::Red) + flash::framePixels}};
        tracks.step(frame.data(), serial);
        for (int i = 0; i < flash::framePixels; ++i) {
            int moved[2];
            plain[i].step(colours[i], moved);
            for (int k = 0; k < 2; ++k) {
                const flash::Stamp now = tracks.stamps(static_cast<flash::Kind>(k))[i];
                const int seen = now == before[k][i] ? 0 : flash::rose(now) ? 1 : -1;
                ASSERT_EQ(seen, moved[k]) << "frame " << serial << " pixel " << i << (k ? " red" : " general");
                transitions += seen != 0;
            }
        }
    }
    EXPECT_GT(transitions, 100000);
}

}  // namespace
