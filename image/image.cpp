#include "image/image.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Adds the red, green and blue bytes of `pixelCount` source pixels onto the
// destination, each clamped at 255; the fourth byte of the destination stays.
void addSaturatePixels(uint8_t* destination, const uint8_t* source, int64_t pixelCount) {
    int64_t i = 0;
#if defined(__SSE2__)
    const __m128i colourBytes = _mm_set1_epi32(0x00FFFFFF);
    for (; i + 4 <= pixelCount; i += 4) {
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(destination + 4 * i));
        __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 4 * i));
        d = _mm_adds_epu8(d, _mm_and_si128(s, colourBytes));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + 4 * i), d);
    }
#endif
    for (; i < pixelCount; ++i) {
        for (int k = 2; k >= 0; --k) {
            int sum = destination[4 * i + k] + source[4 * i + k];
            destination[4 * i + k] = static_cast<uint8_t>(sum > 255 ? 255 : sum);
        }
    }
}

// trunc(v + 0.5) for an integer v: non-negative values stay, negative ones move
// one toward zero.
int64_t roundHalfUpTruncated(int64_t v) { return v >= 0 ? v : v + 1; }

int sign(int64_t v) { return (v > 0) - (v < 0); }

}  // namespace

Image::Image() : Image(screenWidth, screenHeight) {}

Image::Image(int32_t w, int32_t h) : width(w < 0 ? 0 : w), height(h < 0 ? 0 : h), pixels(nullptr) {
    int64_t pixelCount = static_cast<int64_t>(width) * height;
    if (pixelCount > 0 && pixelCount <= INT32_MAX / 4) {
        pixels = new uint8_t[static_cast<size_t>(pixelCount) * 4]();
    } else if (pixelCount > 0) {
        width = height = 0;  // too large to address: an empty image
    }
}

Image::~Image() { release(); }

void Image::release() {
    delete[] pixels;
    pixels = nullptr;
}

int Image::copyFrom(const Image& source) {
    if (source.count() != count()) return 0;
    if (count() > 0 && pixels && source.pixels) {
        std::memcpy(pixels, source.pixels, static_cast<size_t>(count()) * 4);
    }
    return 1;
}

void Image::clear(int value) {
    if (count() > 0 && pixels) std::memset(pixels, value & 0xFF, static_cast<size_t>(count()) * 4);
}

int Image::drawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour) {
    int64_t x = roundHalfUpTruncated(x0);
    int64_t y = roundHalfUpTruncated(y0);
    int64_t dx = roundHalfUpTruncated(static_cast<int64_t>(x1) - x0);
    int64_t dy = roundHalfUpTruncated(static_cast<int64_t>(y1) - y0);
    int sx = sign(dx), sy = sign(dy);
    bool xMajor = std::abs(dx) > std::abs(dy);
    int64_t longSide = xMajor ? std::abs(dx) : std::abs(dy);
    int64_t shortSide = xMajor ? std::abs(dy) : std::abs(dx);
    int64_t error = longSide / 2;
    for (int64_t step = 0; step <= longSide; ++step) {
        // Points off the image wrap by the pixel count; a negative position is skipped.
        int64_t position = x + y * width;
        if (count() > 0 && pixels && position >= 0) {
            int64_t index = position % count();
            std::memcpy(pixels + 4 * index, &colour, 4);
        }
        error += shortSide;
        if (error >= longSide) {
            error -= longSide;
            x += sx;
            y += sy;
        } else if (xMajor) {
            x += sx;
        } else {
            y += sy;
        }
    }
    return 1;
}

void Image::addSaturate(const Image& source) {
    // A smaller source adds only the pixels it has.
    int64_t pixelCount = std::min(count(), source.count());
    if (pixelCount > 0 && pixels && source.pixels) addSaturatePixels(pixels, source.pixels, pixelCount);
}

void Image::addBlit(const Image& source, int32_t x, int32_t y) {
    if (!pixels || !source.pixels) return;
    int64_t firstColumn = std::max<int64_t>(0, -static_cast<int64_t>(x));
    int64_t endColumn = std::min<int64_t>(source.width, static_cast<int64_t>(width) - x);
    int64_t firstRow = std::max<int64_t>(0, -static_cast<int64_t>(y));
    int64_t endRow = std::min<int64_t>(source.height, static_cast<int64_t>(height) - y);
    if (firstColumn >= endColumn || firstRow >= endRow) return;
    for (int64_t v = firstRow; v < endRow; ++v) {
        uint8_t* destinationRow = pixels + 4 * ((y + v) * width + x + firstColumn);
        const uint8_t* sourceRow = source.pixels + 4 * (v * source.width + firstColumn);
        addSaturatePixels(destinationRow, sourceRow, endColumn - firstColumn);
    }
}

uint32_t Image::pixelAt(int32_t x, int32_t y) const {
    uint32_t value = 0;
    std::memcpy(&value, pixels + 4 * (static_cast<int64_t>(y) * width + x), 4);
    return value;
}
