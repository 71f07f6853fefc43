// The SSE2 converter: x86, where every build has SSE2, and the browser,
// whose build translates these intrinsics to WebAssembly SIMD.
#include "display/converters.h"

#if defined(__SSE2__)

#include <immintrin.h>

#include <cstring>
#include <type_traits>

namespace {

// The vector converters take four pixels at a time in 32-bit lanes, or eight
// in 16-bit lanes for 16-bit screens. All lanes share the shift counts, which
// SSE2 takes from a register. Each channel moves one way only, fixed per
// format, so the row loops are compiled for each of the eight choices of
// direction (bit 2 red, bit 1 green, bit 0 blue: set for a left shift).

struct LaneMove {
    bool left;
    __m128i count, mask;
    template <bool Left>
    __m128i words(__m128i v) const {
        return _mm_and_si128(Left ? _mm_sll_epi32(v, count) : _mm_srl_epi32(v, count), mask);
    }
    template <bool Left>
    __m128i halves(__m128i v) const {
        return _mm_and_si128(Left ? _mm_sll_epi16(v, count) : _mm_srl_epi16(v, count), mask);
    }
};

// The move of a whole 32-bit word.
LaneMove wordMove(const ChannelMove& move) {
    const bool left = move.leftShift > 0;
    return {left, _mm_cvtsi32_si128(left ? move.leftShift : move.rightShift),
            _mm_set1_epi32(static_cast<int>(move.mask))};
}

// The move within one 16-bit half of the word, the half starting at bit
// `halfOffset`; only the low 16 bits of the value are kept.
LaneMove halfMove(const ChannelMove& move, int halfOffset) {
    const bool left = move.leftShift > 0 || move.rightShift < halfOffset;
    return {left,
            _mm_cvtsi32_si128(left ? move.leftShift + halfOffset - move.rightShift : move.rightShift - halfOffset),
            _mm_set1_epi16(static_cast<short>(move.mask & 0xFFFFu))};
}

struct LaneMoves {
    LaneMove red, green, blue;
    int directions() const { return (red.left ? 4 : 0) | (green.left ? 2 : 0) | (blue.left ? 1 : 0); }
};

inline __m128i load(const uint8_t* source) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(source)); }

// Four pixel words converted in 32-bit lanes.
template <int Directions>
struct WordConverter {
    const LaneMoves& moves;
    __m128i operator()(const uint8_t* source) const {
        const __m128i words = load(source);
        return _mm_add_epi32(_mm_add_epi32(moves.red.words<(Directions & 4) != 0>(words),
                                           moves.green.words<(Directions & 2) != 0>(words)),
                             moves.blue.words<(Directions & 1) != 0>(words));
    }
};

// Four pixel words masked, for channels that stay in place.
struct MaskingConverter {
    __m128i keep;
    __m128i operator()(const uint8_t* source) const { return _mm_and_si128(load(source), keep); }
};

// Eight pixels converted in 16-bit lanes: the low halves of the words hold
// green and blue, the high halves red. Bits the 32-bit sum would carry above
// bit 15 are never stored on a 16-bit screen, so nothing is lost.
template <int Directions>
struct HalfConverter {
    const LaneMoves& moves;
    __m128i operator()(const uint8_t* source) const {
        const __m128i first = load(source), second = load(source + 16);
        // Three rounds of interleaving sort the eight low halves into one
        // vector and the eight high halves into the other.
        const __m128i a = _mm_unpacklo_epi16(first, second), b = _mm_unpackhi_epi16(first, second);
        const __m128i c = _mm_unpacklo_epi16(a, b), d = _mm_unpackhi_epi16(a, b);
        const __m128i lowHalves = _mm_unpacklo_epi16(c, d), highHalves = _mm_unpackhi_epi16(c, d);
        return _mm_add_epi16(_mm_add_epi16(moves.red.halves<(Directions & 4) != 0>(highHalves),
                                           moves.green.halves<(Directions & 2) != 0>(lowHalves)),
                             moves.blue.halves<(Directions & 1) != 0>(lowHalves));
    }
};

// The low three bytes of four values: each 64-bit lane joins its two values
// into its low 6 bytes.
inline __m128i joinThreeBytePairs(__m128i values) {
    const __m128i low = _mm_set_epi32(0, 0xFFFFFF, 0, 0xFFFFFF);
    const __m128i high = _mm_set_epi32(0xFFFF, static_cast<int>(0xFF000000u), 0xFFFF, static_cast<int>(0xFF000000u));
    return _mm_or_si128(_mm_and_si128(values, low), _mm_and_si128(_mm_srli_epi64(values, 8), high));
}

// Screens of 4 or 2 bytes a pixel: each conversion gives 16 bytes of screen,
// that is 4 or 8 pixels, stored whole.
template <int BytesPerPixel, typename Convert>
void convertRowsWhole(const Convert& convert, const uint8_t* source, uint8_t* surface, int32_t pitch) {
    constexpr int32_t pixelsPerStore = 16 / BytesPerPixel;
    for (int32_t y = 0; y < screenHeight; ++y, surface += pitch, source += screenWidth * 4) {
#pragma GCC unroll 4
        for (int32_t x = 0; x < screenWidth; x += pixelsPerStore)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(surface + BytesPerPixel * x), convert(source + 4 * x));
    }
}

// Each group of four pixels is stored as two 8-byte halves 6 bytes apart;
// the 2 spare bytes of each are overwritten by the next store, and the last
// group of a row stores exactly its 12 bytes, so nothing past the row is touched.
template <typename Convert>
void convertRows24(const Convert& convert, const uint8_t* source, uint8_t* surface, int32_t pitch) {
    for (int32_t y = 0; y < screenHeight; ++y, surface += pitch, source += screenWidth * 4) {
        int32_t x = 0;
#pragma GCC unroll 4
        for (; x < screenWidth - 4; x += 4) {
            const __m128i pairs = joinThreeBytePairs(convert(source + 4 * x));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(surface + 3 * x), pairs);
            _mm_storel_epi64(reinterpret_cast<__m128i*>(surface + 3 * x + 6), _mm_srli_si128(pairs, 8));
        }
        uint8_t last[16];
        _mm_storeu_si128(reinterpret_cast<__m128i*>(last), joinThreeBytePairs(convert(source + 4 * x)));
        std::memcpy(surface + 3 * x, last, 6);
        std::memcpy(surface + 3 * x + 6, last + 8, 6);
    }
}

// Calls `convert` with the directions as a compile-time constant.
template <typename Convert>
void withDirections(int directions, Convert&& convert) {
    switch (directions) {
        case 0: return convert(std::integral_constant<int, 0>());
        case 1: return convert(std::integral_constant<int, 1>());
        case 2: return convert(std::integral_constant<int, 2>());
        case 3: return convert(std::integral_constant<int, 3>());
        case 4: return convert(std::integral_constant<int, 4>());
        case 5: return convert(std::integral_constant<int, 5>());
        case 6: return convert(std::integral_constant<int, 6>());
        default: return convert(std::integral_constant<int, 7>());
    }
}

void convertRows16(const uint8_t* source, const PixelMoves& moves, uint8_t* surface, int32_t pitch) {
    const LaneMoves halves{halfMove(moves.red, 16), halfMove(moves.green, 0), halfMove(moves.blue, 0)};
    withDirections(halves.directions(), [&](auto directions) {
        convertRowsWhole<2>(HalfConverter<decltype(directions)::value>{halves}, source, surface, pitch);
    });
}

template <int BytesPerPixel>
void convertRowsWords(const uint8_t* source, const PixelMoves& moves, uint8_t* surface, int32_t pitch) {
    if (moves.inPlace) {
        // On 24-bit screens joining the pairs keeps only the low three bytes,
        // which is all the mask would do.
        const MaskingConverter masked{_mm_set1_epi32(BytesPerPixel == 3 ? -1 : static_cast<int>(moves.keep))};
        if (BytesPerPixel == 3) return convertRows24(masked, source, surface, pitch);
        return convertRowsWhole<4>(masked, source, surface, pitch);
    }
    const LaneMoves words{wordMove(moves.red), wordMove(moves.green), wordMove(moves.blue)};
    withDirections(words.directions(), [&](auto directions) {
        const WordConverter<decltype(directions)::value> convert{words};
        if (BytesPerPixel == 3)
            convertRows24(convert, source, surface, pitch);
        else
            convertRowsWhole<4>(convert, source, surface, pitch);
    });
}

void convert(int bytesPerPixel, const uint8_t* source, const PixelMoves& moves, uint8_t* surface, int32_t pitch) {
    switch (bytesPerPixel) {
        case 4: return convertRowsWords<4>(source, moves, surface, pitch);
        case 3: return convertRowsWords<3>(source, moves, surface, pitch);
        default: return convertRows16(source, moves, surface, pitch);
    }
}

bool runs() { return true; }

}  // namespace

const Converter sse2Converter{runs, convert};

#else

const Converter sse2Converter{[] { return false; }, nullptr};

#endif
