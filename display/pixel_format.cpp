#include "display/pixel_format.h"

int lowestSetBit(uint32_t mask) {
    if (mask == 0) return 0;
    int count = 0;
    while ((mask & 1u) == 0) {
        mask >>= 1;
        ++count;
    }
    return count;
}

int bitLength(uint32_t mask) {
    int length = 0;
    while (mask != 0) {
        mask >>= 1;
        ++length;
    }
    return length;
}

namespace {

// 8 minus the width of the field: how far an 8-bit channel drops before it
// is moved into place.
int32_t rightShiftFor(uint32_t mask) { return 8 - bitLength(mask) + lowestSetBit(mask); }

}  // namespace

PixelFormat makePixelFormat(uint32_t bitCount, uint32_t redMask, uint32_t greenMask, uint32_t blueMask) {
    PixelFormat format;
    format.bitCount = bitCount;
    format.redMask = redMask;
    format.redRightShift = rightShiftFor(redMask);
    format.redLeftShift = lowestSetBit(redMask);
    format.greenMask = greenMask;
    format.greenRightShift = rightShiftFor(greenMask);
    format.greenLeftShift = lowestSetBit(greenMask);
    format.blueMask = blueMask;
    format.blueRightShift = rightShiftFor(blueMask);
    format.blueLeftShift = lowestSetBit(blueMask);
    return format;
}

int converterBytes(const PixelFormat& format, bool windowed) {
    if (!windowed || format.bitCount == 32) return 4;
    return format.bitCount == 24 ? 3 : 2;
}

bool isConvertible(const PixelFormat& format) {
    if (format.bitCount < 16 || format.bitCount > 32) return false;
    return format.redRightShift >= 0 && format.greenRightShift >= 0 && format.blueRightShift >= 0;
}

namespace {

// The one conversion loop; the three converters differ only in how many low
// bytes of each value they store. Shifts and masks are copied into locals so
// the compiler can keep them in registers across the 76,800 pixels.
template <int BytesPerPixel>
void convertRows(const Image& image, const PixelFormat& format, uint8_t* surface, int32_t pitch) {
    const uint32_t redMask = format.redMask, greenMask = format.greenMask, blueMask = format.blueMask;
    const int redRight = format.redRightShift, redLeft = format.redLeftShift;
    const int greenRight = format.greenRightShift, greenLeft = format.greenLeftShift;
    const int blueRight = format.blueRightShift, blueLeft = format.blueLeftShift;
    const uint8_t* source = image.pixels;
    uint8_t* row = surface;
    for (int32_t y = 0; y < screenHeight; ++y) {
        uint8_t* out = row;
        for (int32_t x = 0; x < screenWidth; ++x) {
            const uint32_t b = source[0], g = source[1], r = source[2];
            const uint32_t value = (((r >> redRight) << redLeft) & redMask) +
                                   (((g >> greenRight) << greenLeft) & greenMask) +
                                   (((b >> blueRight) << blueLeft) & blueMask);
            out[0] = static_cast<uint8_t>(value);
            out[1] = static_cast<uint8_t>(value >> 8);
            if (BytesPerPixel >= 3) out[2] = static_cast<uint8_t>(value >> 16);
            if (BytesPerPixel >= 4) out[3] = static_cast<uint8_t>(value >> 24);
            out += BytesPerPixel;
            source += 4;
        }
        row += pitch;
    }
}

}  // namespace

int present32(const Image& image, const PixelFormat& format, uint8_t* surface, int32_t pitch) {
    convertRows<4>(image, format, surface, pitch);
    return 1;
}

int present24(const Image& image, const PixelFormat& format, uint8_t* surface, int32_t pitch) {
    convertRows<3>(image, format, surface, pitch);
    return 1;
}

int present16(const Image& image, const PixelFormat& format, uint8_t* surface, int32_t pitch) {
    convertRows<2>(image, format, surface, pitch);
    return 1;
}
