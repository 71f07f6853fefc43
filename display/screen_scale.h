#pragma once
#include <cstdint>

#include "image/image.h"

// Where the 320x240 picture lies on a screen or surface: each of its pixels
// a square of `scale` x `scale`, its top-left corner at (x, y).
struct Placement {
    int32_t x = 0;
    int32_t y = 0;
    int32_t scale = 1;  // 0: the picture does not fit at all

    int32_t width() const { return screenWidth * scale; }
    int32_t height() const { return screenHeight * scale; }
};

// A window's whole scale at `dpi` dots per inch: the factor over 96 rounded
// to the nearest whole number, halves up (1 at 96 and 120, 2 at 144 and
// 192, 3 at 240), and at least 1.
int32_t wholeScaleForDpi(uint32_t dpi);

// The picture at the largest whole scale that fits `width` x `height`, at
// most `cap` when it is above 0, centred (any odd pixel left over goes to
// the right and the bottom). Scale 0 at (0, 0) when not even 320x240 fits.
Placement centredPlacement(int32_t width, int32_t height, int32_t cap);
