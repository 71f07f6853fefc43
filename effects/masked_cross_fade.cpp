#include "effects/masked_cross_fade.h"

#include <cstdint>

#include "effects/screen_picture.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// value mod range for any value, so an offset set from outside can never
// address outside the mask. For the offsets the effect makes itself this is
// the plain "back to 0 at the edge".
int32_t wrapOffset(int64_t value, int32_t range) {
    int64_t r = value % range;
    return static_cast<int32_t>(r < 0 ? r + range : r);
}

// (second * (255 - w) + first * w) / 255 for one colour byte.
uint8_t blendByte(uint8_t first, uint8_t second, int w) { return static_cast<uint8_t>((second * (255 - w) + first * w) / 255); }

void blendRunScalar(uint8_t* target, const uint8_t* first, const uint8_t* second, const uint8_t* mask, int32_t n) {
    for (int32_t i = 0; i < n; ++i) {
        int w = mask[4 * i + 2];
        for (int k = 2; k >= 0; --k) target[4 * i + k] = blendByte(first[4 * i + k], second[4 * i + k], w);
    }
}

#if defined(__SSE2__)
// Four pixels at a time in 16-bit lanes. The weighted sum is at most
// 255 * 255 = 65025, so it fits a lane, and for every n below 65536
// n / 255 = (n * 0x8081) >> 23, taken as the high half of the 16-bit product
// shifted right by 7.
int32_t blendRunSse2(uint8_t* target, const uint8_t* first, const uint8_t* second, const uint8_t* mask, int32_t n) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i all255 = _mm_set1_epi16(255);
    const __m128i reciprocal = _mm_set1_epi16(static_cast<int16_t>(0x8081));
    const __m128i lowByte = _mm_set1_epi32(0xFF);
    const __m128i fourthBytes = _mm_set1_epi32(static_cast<int32_t>(0xFF000000u));
    auto blend = [&](__m128i f, __m128i s, __m128i w) {
        __m128i sum = _mm_add_epi16(_mm_mullo_epi16(s, _mm_sub_epi16(all255, w)), _mm_mullo_epi16(f, w));
        return _mm_srli_epi16(_mm_mulhi_epu16(sum, reciprocal), 7);
    };
    int32_t i = 0;
    for (; i + 4 <= n; i += 4) {
        __m128i f = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first + 4 * i));
        __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(second + 4 * i));
        __m128i m = _mm_loadu_si128(reinterpret_cast<const __m128i*>(mask + 4 * i));
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(target + 4 * i));
        // The red byte of each mask pixel, spread over the four lanes of its pixel.
        __m128i w32 = _mm_and_si128(_mm_srli_epi32(m, 16), lowByte);
        __m128i w16 = _mm_packs_epi32(w32, w32);
        __m128i pairs = _mm_unpacklo_epi16(w16, w16);
        __m128i wLow = _mm_unpacklo_epi32(pairs, pairs);
        __m128i wHigh = _mm_unpackhi_epi32(pairs, pairs);
        __m128i low = blend(_mm_unpacklo_epi8(f, zero), _mm_unpacklo_epi8(s, zero), wLow);
        __m128i high = blend(_mm_unpackhi_epi8(f, zero), _mm_unpackhi_epi8(s, zero), wHigh);
        __m128i mixed = _mm_packus_epi16(low, high);
        __m128i merged = _mm_or_si128(_mm_andnot_si128(fourthBytes, mixed), _mm_and_si128(fourthBytes, d));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target + 4 * i), merged);
    }
    return i;
}
#endif

// Blends n pixels whose mask pixels lie side by side in one mask row.
void blendRun(uint8_t* target, const uint8_t* first, const uint8_t* second, const uint8_t* mask, int32_t n) {
    int32_t done = 0;
#if defined(__SSE2__)
    done = blendRunSse2(target, first, second, mask, n);
#endif
    blendRunScalar(target + 4 * done, first + 4 * done, second + 4 * done, mask + 4 * done, n - done);
}

bool usable(const Image* picture) { return picture && picture->isScreenSized() && picture->pixels; }

}  // namespace

MaskedCrossFade::MaskedCrossFade(const char* firstName, const char* secondName, const char* maskName,
                                 const ShowContext& context)
    : scrollX(0),
      scrollY(0),
      first(loadScreenPicture(context, firstName)),
      second(loadScreenPicture(context, secondName)),
      mask(loadScreenPicture(context, maskName)) {}

void MaskedCrossFade::render(Image& target) {
    scrollX = wrapOffset(static_cast<int64_t>(scrollX) + 4, screenWidth);
    scrollY = wrapOffset(static_cast<int64_t>(scrollY) + 4, screenHeight);
    if (!usable(&target) || !usable(first.get()) || !usable(second.get()) || !usable(mask.get())) return;

    // Each pixel is independent, so rows go top to bottom; within a row the
    // mask column runs from scrollX to 319 and then on from 0.
    constexpr int32_t rowBytes = 4 * screenWidth;
    int32_t rightPart = screenWidth - scrollX;
    for (int32_t y = 0; y < screenHeight; ++y) {
        int32_t maskY = y + scrollY < screenHeight ? y + scrollY : y + scrollY - screenHeight;
        int64_t row = static_cast<int64_t>(y) * rowBytes;
        uint8_t* out = target.pixels + row;
        const uint8_t* a = first->pixels + row;
        const uint8_t* b = second->pixels + row;
        const uint8_t* maskRow = mask->pixels + static_cast<int64_t>(maskY) * rowBytes;
        blendRun(out, a, b, maskRow + 4 * scrollX, rightPart);
        blendRun(out + 4 * rightPart, a + 4 * rightPart, b + 4 * rightPart, maskRow, scrollX);
    }
}
