#include "effects/fader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// The 8-bit value of trunc(byte * factor) for every byte: the low eight bits of
// the truncated product. A product that is not a finite number below 2^63 in
// magnitude (only reachable with t before `start` or `end` not after it) gives 0.
void buildScaleTable(float factor, uint8_t table[256]) {
    for (int byte = 0; byte < 256; ++byte) {
        double product = byte * static_cast<double>(factor);
        bool representable = std::isfinite(product) && std::fabs(product) < 9.2e18;
        table[byte] = representable ? static_cast<uint8_t>(static_cast<int64_t>(product)) : 0;
    }
}

void scaleWithTable(uint8_t* destination, const uint8_t* source, int64_t from, int64_t to, const uint8_t table[256]) {
    for (int64_t i = from; i < to; ++i) {
        for (int k = 2; k >= 0; --k) destination[4 * i + k] = table[source[4 * i + k]];
    }
}

#if defined(__SSE2__)
// For 0 <= factor <= 1 the float factor is m / 2^shift with m < 2^24 and
// shift >= 23, and byte * factor is exact in double, so trunc(byte * factor) =
// (byte * m) >> shift. With m = high * 2^16 + low that is
// (byte * high + ((byte * low) >> 16)) >> (shift - 16): every step fits in 16
// bits (byte * high <= 255 * 255, plus at most 254), and a shift of 16 or more
// gives 0, as it must. Returns how many pixels it did (a multiple of 4).
int64_t scaleUnitFactorSse2(uint8_t* destination, const uint8_t* source, int64_t pixelCount, float factor) {
    int exponent = 0;
    double fraction = std::frexp(static_cast<double>(factor), &exponent);
    uint32_t m = static_cast<uint32_t>(fraction * 16777216.0);  // exact: a float has 24 bits
    int shift = 24 - exponent;
    const __m128i high = _mm_set1_epi16(static_cast<int16_t>(m >> 16));
    const __m128i low = _mm_set1_epi16(static_cast<int16_t>(m & 0xFFFF));
    const __m128i finalShift = _mm_cvtsi32_si128(shift - 16);
    const __m128i zero = _mm_setzero_si128();
    const __m128i fourthBytes = _mm_set1_epi32(static_cast<int32_t>(0xFF000000u));

    auto scale = [&](__m128i bytes16) {
        __m128i sum = _mm_add_epi16(_mm_mullo_epi16(bytes16, high), _mm_mulhi_epu16(bytes16, low));
        return _mm_srl_epi16(sum, finalShift);
    };
    int64_t i = 0;
    for (; i + 4 <= pixelCount; i += 4) {
        __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 4 * i));
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(destination + 4 * i));
        __m128i scaled = _mm_packus_epi16(scale(_mm_unpacklo_epi8(s, zero)), scale(_mm_unpackhi_epi8(s, zero)));
        __m128i merged = _mm_or_si128(_mm_andnot_si128(fourthBytes, scaled), _mm_and_si128(fourthBytes, d));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + 4 * i), merged);
    }
    return i;
}
#endif

}  // namespace

Fader::Fader(Image& destination_, const Image& source_, float start_, float end_)
    : start(start_), end(end_), factor(0.0f), destination(destination_), source(source_) {}

Fader::~Fader() = default;

void Fader::update(float t) {
    double linear = (static_cast<double>(t) - start) / (static_cast<double>(end) - start);
    if (linear > 1.0) linear = 1.0;
    factor = static_cast<float>(linear);

    // Only the pixels both images have are touched.
    int64_t pixelCount = std::min(source.count(), destination.count());
    if (pixelCount <= 0 || !source.pixels || !destination.pixels) return;

    int64_t done = 0;
#if defined(__SSE2__)
    if (factor >= 0.0f && factor <= 1.0f) {
        done = scaleUnitFactorSse2(destination.pixels, source.pixels, pixelCount, factor);
    }
#endif
    if (done < pixelCount) {
        uint8_t table[256];
        buildScaleTable(factor, table);
        scaleWithTable(destination.pixels, source.pixels, done, pixelCount, table);
    }
}
