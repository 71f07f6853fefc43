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
};

// Per-pixel displacement fields shared by every lens; zero outside apply().
extern int8_t dxAccum[screenPixels];
extern int8_t dyAccum[screenPixels];
