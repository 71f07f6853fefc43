#pragma once
#include <cstdint>
#include <vector>

#include "display/pixel_format.h"
#include "display/screen_scale.h"
#include "image/image.h"

// Writes the work image into a surface of any size in the surface's own
// format, scaled by the converter itself rather than by a stretch blit (which
// a driver may filter): the picture at its placement with every pixel
// repeated scale x scale times, and black (every bit 0) in the rest of the
// surface's width x height. The bytes of each row past the width (the
// pitch's padding) are left as they are. At scale 1 at (0, 0) of a 320x240
// surface it writes exactly what present32, present24 and present16 write.
class ScaledConverter {
public:
    // `bytesPerPixel` is 2, 3 or 4, as converterBytes gives it. False, with
    // nothing written, when the picture does not lie wholly inside the
    // surface or a row of the surface is longer than its pitch.
    bool convert(const Image& image, const PixelFormat& format, int bytesPerPixel, uint8_t* surface, int32_t pitch,
                 int32_t width, int32_t height, const Placement& placement);

private:
    void scaleRow(const uint8_t* source, int bytesPerPixel, const Placement& placement);

    std::vector<uint8_t> picture_;  // the picture converted at scale 1
    std::vector<uint8_t> row_;      // one row of the surface: bands and the scaled picture's row
};
