#include "display/scaled_converter.h"

#include <cstddef>
#include <cstring>

namespace {

void convertWhole(int bytesPerPixel, const Image& image, const PixelFormat& format, uint8_t* surface, int32_t pitch) {
    switch (bytesPerPixel) {
        case 4: present32(image, format, surface, pitch); break;
        case 3: present24(image, format, surface, pitch); break;
        default: present16(image, format, surface, pitch); break;
    }
}

bool fits(const Placement& p, int bytesPerPixel, int32_t pitch, int32_t width, int32_t height) {
    if (p.scale < 1 || p.x < 0 || p.y < 0) return false;
    if (p.x + p.width() > width || p.y + p.height() > height) return false;
    return static_cast<int64_t>(width) * bytesPerPixel <= pitch;
}

}  // namespace

bool ScaledConverter::convert(const Image& image, const PixelFormat& format, int bytesPerPixel, uint8_t* surface,
                              int32_t pitch, int32_t width, int32_t height, const Placement& placement) {
    if (!fits(placement, bytesPerPixel, pitch, width, height)) return false;
    if (placement.scale == 1 && width == screenWidth && height == screenHeight) {
        convertWhole(bytesPerPixel, image, format, surface, pitch);
        return true;
    }
    const int32_t pictureRowBytes = screenWidth * bytesPerPixel;
    const size_t rowBytes = static_cast<size_t>(width) * bytesPerPixel;
    picture_.resize(static_cast<size_t>(pictureRowBytes) * screenHeight);
    convertWhole(bytesPerPixel, image, format, picture_.data(), pictureRowBytes);
    row_.assign(rowBytes, 0);  // the bands left and right stay black
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* out = surface + static_cast<ptrdiff_t>(y) * pitch;
        const int32_t inPicture = y - placement.y;
        if (inPicture < 0 || inPicture >= placement.height()) {
            std::memset(out, 0, rowBytes);
            continue;
        }
        if (inPicture % placement.scale == 0) {
            scaleRow(picture_.data() + static_cast<size_t>(inPicture / placement.scale) * pictureRowBytes,
                     bytesPerPixel, placement);
        }
        std::memcpy(out, row_.data(), rowBytes);
    }
    return true;
}

// The picture's row, each pixel `scale` times, into its place in row_.
void ScaledConverter::scaleRow(const uint8_t* source, int bytesPerPixel, const Placement& placement) {
    uint8_t* out = row_.data() + static_cast<size_t>(placement.x) * bytesPerPixel;
    for (int32_t x = 0; x < screenWidth; ++x, source += bytesPerPixel) {
        for (int32_t copy = 0; copy < placement.scale; ++copy, out += bytesPerPixel) {
            std::memcpy(out, source, bytesPerPixel);
        }
    }
}
