#pragma once
#include <cstdint>
#include <vector>

#include "image/image.h"

// The palette of a GIF, made for the frames of its clip: the colours of
// every frame are counted first, then cut by median cut into at most 255
// entries (all of them when the clip has no more). Pixels are mapped to the
// nearest entry without dithering, so flat areas stay flat and hard edges
// stay hard. Entry 255 is transparent, for the pixels the GIF encoder finds
// unchanged from the previous frame.
class ClipPalette {
public:
    static constexpr int colours = 255;
    static constexpr uint8_t transparent = 255;

    ClipPalette();

    void count(const Image& image);  // the first pass, over every frame of the clip
    void make();                     // after the first pass

    // 256 entries as 0xAARRGGBB words, as PAL8 pictures carry them.
    const uint32_t* entries() const { return entries_.data(); }
    // The picture scaled by `scale`, nearest neighbour, as palette indices
    // into rows `stride` bytes apart.
    void map(const Image& image, int scale, uint8_t* out, int stride);

private:
    uint8_t nearest(uint32_t rgb);

    std::vector<uint32_t> table_;    // by 0xRRGGBB: the pixel count, then after make() the entry + 1
    std::vector<uint32_t> entries_;  // 256 words
    int usedEntries_ = 0;            // entries before the transparent one
    std::vector<uint8_t> row_;       // one row of indices at the show's size
};
