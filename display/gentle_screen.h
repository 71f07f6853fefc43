#pragma once
#include <cstdint>
#include <vector>

#include "image/image.h"

// What reaches the screen with --gentle: each pixel moves from the colour it
// showed last toward the work image's colour no faster than the flash check
// allows, so the shown stream passes it whatever the show draws. The work
// image itself is left as it is; the softened picture is a copy.
//
// The move is made in linear light, where relative luminance and the red
// quantity of the flash check are linear in the channels, and is capped by
// two budgets per second: the luminance-weighted sum of the channels'
// changes at `luminancePerSecond`, and 320 times the sum of their changes at
// `redPerSecond` wherever either colour is red (R > G + B). A general flash
// is two changes of at least 0.1 each and the check allows three in a second,
// a red one two changes of more than 20; the budgets stay below what seven
// such changes need even after rounding to 8 bits on screen.
class GentleScreen {
public:
    static constexpr double luminancePerSecond = 0.5;
    static constexpr double redPerSecond = 80.0;

    // The picture to show for `work` (320x240) at `nowMs` of any millisecond
    // clock. The first picture is shown as it is.
    const Image& soften(const Image& work, uint32_t nowMs);

private:
    std::vector<float> shown_;  // linear red, green, blue of each pixel as shown
    Image out_{320, 240};
    bool started_ = false;
    uint32_t lastMs_ = 0;
};
