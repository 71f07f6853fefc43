#pragma once
#include <cstdint>

#include "image/image.h"

// A 100x100 circular lens that pushes pixels outward from its centre.
class Lens {
public:
    Lens();
    virtual ~Lens();
    void buildTables();
    // (x, y) is the lens's top-left corner on the 320x240 screen.
    void apply(Image& destination, const Image& source, int32_t x, int32_t y);

    int8_t dxTable[10000];
    int8_t dyTable[10000];
    // Per-pixel displacement fields: zero outside apply(), which stamps the
    // lens window into them, rebuilds the picture and clears the window again.
    int8_t dxAccum[screenPixels];
    int8_t dyAccum[screenPixels];
};
