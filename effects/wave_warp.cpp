#include "effects/wave_warp.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "wire3d/math3d.h"

namespace {

constexpr int32_t sourceColumns = 319;  // the last column and row of the source never show
constexpr int32_t sourceRows = 239;
constexpr int32_t tableModulus = 255;   // cosTable entry 255 is never used

// x - m * floor(x / m) for a whole number x held in a double: exact, and never
// negative, so table and pixel indices stay inside their arrays.
int32_t wrapWhole(double x, int32_t m) {
    double r = std::fmod(x, m);
    if (r < 0) r += m;
    return static_cast<int32_t>(r);
}

// The wave position trunc(seconds * 10), reduced modulo 255.
int32_t wavePosition(float seconds) {
    double p = std::trunc(static_cast<double>(seconds) * 10.0);
    return std::isfinite(p) ? wrapWhole(p, tableModulus) : 0;
}

// The amplitude the formulas are defined for lies within [-240, 240]; others
// are held to that range (NaN counts as 0), which keeps every sum in [0, 1024).
double usableAmplitude(float amplitude) {
    if (!(amplitude == amplitude)) return 0.0;
    return amplitude > 240.0f ? 240.0 : amplitude < -240.0f ? -240.0 : amplitude;
}

float waveCos(int32_t i) { return cosTable[i % tableModulus]; }

// The source column of target column 0 in row r: trunc(amplitude * cos * 0.5 + 320) mod 319.
int32_t rowShift(double amplitude, int32_t r, int32_t p) {
    return wrapWhole(std::trunc(amplitude * waveCos(r + p) * 0.5 + 320.0), sourceColumns);
}

// The source row before the remainder: trunc(amplitude * cos + r + 240), in
// double, summed left to right.
double sourceRowExact(double amplitude, int32_t q, int32_t r, int32_t p) {
    return std::trunc(amplitude * waveCos(q + p) + r + 240.0);
}

// Per column, the source row of target row 0 when the fast row rule holds:
// -1 when it does not.
//
// Let x = amplitude * cos, the same double product the formula forms (exact: a
// float times a float needs at most 48 of the 53 bits), and n = floor(x). The
// exact sum x + r + 240 lies in [N, N + 1) for N = n + r + 240 >= 0. Rounding to
// nearest is monotone and leaves whole numbers below 2^53 alone, so both
// roundings keep the result in [N, N + 1], and trunc gives N unless the result
// is N + 1. Every partial sum is below 1024 in magnitude, where half an ulp is
// at most 2^-44, so the two roundings move the sum by at most 2^-43: the result
// can reach N + 1 only if n + 1 - x <= 2^-43. When n + 1 - x > 2^-43 (always
// true for a whole x) the source row is therefore floor(x) + 240 + r for every
// r, and advances by one per row. The rule fails for products just below a
// whole number, such as a tiny negative one (-1e-20 + 240 rounds to 240, not
// 239); such frames take the exact path.
int32_t firstSourceRow(double x) {
    double n = std::floor(x);
    if (!((n + 1.0) - x > 0x1p-43)) return -1;
    return wrapWhole(n + 240.0, sourceRows);
}

uint32_t loadPixel(const uint8_t* pixels, int32_t index) {
    uint32_t word;
    std::memcpy(&word, pixels + 4 * index, 4);
    return word;
}

void storePixel(uint8_t* pixels, int32_t index, uint32_t word) { std::memcpy(pixels + 4 * index, &word, 4); }

void fillColourBytesWithZero(Image& target) {
    for (int32_t i = 0; i < target.count(); ++i) std::memset(target.pixels + 4 * i, 0, 3);
}

// Copies one target row: column q reads the source pixel
// columnIndex[q] + rowBase, one row back up (319 pixels less) once the source
// column has wrapped, which happens after column 318 - start.
void copyRow(uint8_t* targetRow, const uint8_t* source, const int32_t* columnIndex, int32_t rowBase, int32_t start) {
    int32_t firstRun = sourceColumns - start;
    for (int32_t q = 0; q < firstRun; ++q) storePixel(targetRow, q, loadPixel(source, columnIndex[q] + rowBase));
    int32_t wrappedBase = rowBase - sourceColumns;
    for (int32_t q = firstRun; q < screenWidth; ++q) storePixel(targetRow, q, loadPixel(source, columnIndex[q] + wrappedBase));
}

// Every pixel through the formulas as written; used when a column breaks the
// fast row rule.
void warpExact(uint8_t* target, const uint8_t* source, double amplitude, int32_t p) {
    for (int32_t r = 0; r < screenHeight; ++r) {
        int32_t start = rowShift(amplitude, r, p);
        for (int32_t q = 0; q < screenWidth; ++q) {
            int32_t column = (start + q) % sourceColumns;
            int32_t row = wrapWhole(sourceRowExact(amplitude, q, r, p), sourceRows);
            storePixel(target, r * screenWidth + q, loadPixel(source, column + row * screenWidth));
        }
    }
}

}  // namespace

void waveWarp(Image& target, const Image& source, float seconds, float amplitude) {
    if (!target.isScreenSized() || !target.pixels) return;
    if (!source.isScreenSized() || !source.pixels) {
        fillColourBytesWithZero(target);  // nothing to show; the fourth bytes stay
        return;
    }
    uint8_t* out = target.pixels;
    const uint8_t* in = source.pixels;
    double a = usableAmplitude(amplitude);
    int32_t p = wavePosition(seconds);

    // columnIndex[q] = first source row of column q times 320, plus q. Column q's
    // source row wraps from 238 to 0 exactly once, at target row 239 - first row
    // (1 to 239); the columns are listed by that row so each is fixed up once.
    int32_t columnIndex[screenWidth];
    int32_t firstToWrap[screenHeight], nextToWrap[screenWidth];
    for (int32_t& q : firstToWrap) q = -1;
    for (int32_t q = 0; q < screenWidth; ++q) {
        int32_t row = firstSourceRow(a * waveCos(q + p));
        if (row < 0) {
            warpExact(out, in, a, p);
            return;
        }
        columnIndex[q] = row * screenWidth + q;
        int32_t wrapRow = sourceRows - row;
        nextToWrap[q] = firstToWrap[wrapRow];
        firstToWrap[wrapRow] = q;
    }
    for (int32_t r = 0; r < screenHeight; ++r) {
        for (int32_t q = firstToWrap[r]; q >= 0; q = nextToWrap[q]) columnIndex[q] -= sourceRows * screenWidth;
        int32_t start = rowShift(a, r, p);
        copyRow(out + 4 * r * screenWidth, in, columnIndex, r * screenWidth + start, start);
    }
}
