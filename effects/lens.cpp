#include "effects/lens.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int32_t lensSize = 100;
constexpr int32_t lensRadius = 50;

// The part of the lens square that lies on the screen: table rows j0..j1-1 and
// columns k0..k1-1. Clipped on all four sides, so any position is safe.
struct LensWindow {
    int32_t j0, j1, k0, k1;
    bool empty() const { return j0 >= j1 || k0 >= k1; }
};

LensWindow clipToScreen(int32_t x, int32_t y) {
    auto clip = [](int64_t corner, int32_t screenSize, int32_t& from, int32_t& to) {
        from = static_cast<int32_t>(std::clamp<int64_t>(-corner, 0, lensSize));
        to = static_cast<int32_t>(std::clamp<int64_t>(screenSize - corner, 0, lensSize));
    };
    LensWindow w{};
    clip(y, screenHeight, w.j0, w.j1);
    clip(x, screenWidth, w.k0, w.k1);
    return w;
}

int32_t screenIndex(int32_t x, int32_t y, int32_t j, int32_t k) { return (y + j) * screenWidth + (x + k); }

// value mod m, never negative: a displacement before the first pixel wraps to
// the end of the image, as one past the last pixel wraps to the start.
int64_t wrapIndex(int64_t value, int64_t m) {
    int64_t r = value % m;
    return r < 0 ? r + m : r;
}

void copyPixel(uint8_t* destination, int64_t to, const uint8_t* source, int64_t from) {
    std::memmove(destination + 4 * to, source + 4 * from, 4);
}

int64_t displacedIndex(const Lens& lens, int32_t p) {
    return static_cast<int64_t>(p) + lens.dxAccum[p] + screenWidth * lens.dyAccum[p];
}

// The rebuild as defined, for images of any pixel count, and for a destination
// that is the source itself: every screen index in order, both indices reduced
// modulo the images' counts.
void rebuildAnySize(const Lens& lens, Image& destination, const Image& source) {
    for (int32_t p = 0; p < screenPixels; ++p) {
        copyPixel(destination.pixels, p % destination.count(), source.pixels, wrapIndex(displacedIndex(lens, p), source.count()));
    }
}

// Both images 320x240 and distinct: outside the window both fields are zero, so
// there the destination is a plain copy; inside it the displaced index is off
// by less than one image, so one add or subtract replaces the remainder.
void rebuildScreenSized(const Lens& lens, Image& destination, const Image& source, int32_t x, int32_t y,
                        const LensWindow& w) {
    std::memcpy(destination.pixels, source.pixels, screenBytes);
    for (int32_t j = w.j0; j < w.j1; ++j) {
        for (int32_t k = w.k0; k < w.k1; ++k) {
            int32_t p = screenIndex(x, y, j, k);
            int64_t s = displacedIndex(lens, p);
            if (s < 0) s += screenPixels;
            if (s >= screenPixels) s -= screenPixels;
            copyPixel(destination.pixels, p, source.pixels, s);
        }
    }
}

}  // namespace

Lens::Lens() : dxTable{}, dyTable{}, dxAccum{}, dyAccum{} { buildTables(); }

Lens::~Lens() = default;

void Lens::buildTables() {
    for (int32_t Y = -lensRadius; Y < lensRadius; ++Y) {
        for (int32_t X = -lensRadius; X < lensRadius; ++X) {
            int32_t i = (Y + lensRadius) * lensSize + (X + lensRadius);
            int32_t r = static_cast<int32_t>(std::sqrt(static_cast<double>(X * X + Y * Y)));
            int32_t a = static_cast<int32_t>(std::sin(r * 0.0628) * 100.0);
            bool inside = r >= 1 && r <= lensRadius;
            dxTable[i] = static_cast<int8_t>(inside ? (X * a) / (3 * r) : 0);
            dyTable[i] = static_cast<int8_t>(inside ? (Y * a) / (3 * r) : 0);
        }
    }
}

void Lens::apply(Image& destination, const Image& source, int32_t x, int32_t y) {
    if (destination.count() <= 0 || source.count() <= 0 || !destination.pixels || !source.pixels) return;
    LensWindow w = clipToScreen(x, y);
    if (w.empty()) w = LensWindow{0, 0, 0, 0};

    for (int32_t j = w.j0; j < w.j1; ++j) {
        for (int32_t k = w.k0; k < w.k1; ++k) {
            int32_t p = screenIndex(x, y, j, k), i = lensSize * j + k;
            dxAccum[p] = static_cast<int8_t>(dxAccum[p] + dxTable[i]);  // 8-bit, wraps
            dyAccum[p] = static_cast<int8_t>(dyAccum[p] + dyTable[i]);
        }
    }

    bool screenSized = destination.count() == screenPixels && source.count() == screenPixels;
    if (screenSized && destination.pixels != source.pixels) {
        rebuildScreenSized(*this, destination, source, x, y, w);
    } else {
        rebuildAnySize(*this, destination, source);
    }

    // Only the window was stamped; the rest of both fields is still zero.
    for (int32_t j = w.j0; j < w.j1; ++j) {
        int32_t rowStart = screenIndex(x, y, j, w.k0);
        std::memset(dxAccum + rowStart, 0, static_cast<size_t>(w.k1 - w.k0));
        std::memset(dyAccum + rowStart, 0, static_cast<size_t>(w.k1 - w.k0));
    }
}
