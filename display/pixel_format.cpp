#include "display/pixel_format.h"

#include <cstring>
#include <type_traits>
#if defined(__SSE2__)
#include <immintrin.h>
#endif
#if defined(__aarch64__)
#include <arm_neon.h>
#endif

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

int converterBytes(const PixelFormat& format) {
    if (format.bitCount == 32) return 4;
    return format.bitCount == 24 ? 3 : 2;
}

bool isConvertible(const PixelFormat& format) {
    if (format.bitCount < 16 || format.bitCount > 32) return false;
    return format.redRightShift >= 0 && format.greenRightShift >= 0 && format.blueRightShift >= 0;
}

namespace {

// One channel of the conversion, ((c >> right) << left) & mask with c the
// channel's byte at bit `offset` of the pixel word, done as one shift of the
// whole word and one mask: shifting the word by offset + right - left and
// keeping only the bits the channel's byte can reach gives the same bits for
// any mask, and skips extracting the byte.
struct ChannelMove {
    int rightShift = 0, leftShift = 0;
    uint32_t mask = 0;
};

ChannelMove channelMove(int offset, int32_t right, int32_t left, uint32_t mask) {
    ChannelMove move;
    const int net = offset + right - left;
    move.rightShift = net > 0 ? net : 0;
    move.leftShift = net < 0 ? -net : 0;
    move.mask = mask & ((0xFFu >> right) << left);
    return move;
}

struct PixelMoves {
    ChannelMove red, green, blue;
    bool inPlace;  // every channel stays where it is: the value is the word masked
    uint32_t keep;
};

// Valid for convertible formats (right shifts from 0 to 8).
PixelMoves pixelMoves(const PixelFormat& format) {
    PixelMoves moves;
    moves.red = channelMove(16, format.redRightShift, format.redLeftShift, format.redMask);
    moves.green = channelMove(8, format.greenRightShift, format.greenLeftShift, format.greenMask);
    moves.blue = channelMove(0, format.blueRightShift, format.blueLeftShift, format.blueMask);
    auto stays = [](const ChannelMove& move) { return move.rightShift == 0 && move.leftShift == 0; };
    moves.inPlace = stays(moves.red) && stays(moves.green) && stays(moves.blue);
    // In place, each channel keeps bits of its own byte only, so the three
    // terms never overlap and their sum is the word masked by their union.
    moves.keep = moves.red.mask | moves.green.mask | moves.blue.mask;
    return moves;
}

// The image's pixel word: blue in the low byte (the machines we build for
// are little-endian).
inline uint32_t pixelWord(const uint8_t* source) {
    uint32_t word;
    std::memcpy(&word, source, 4);
    return word;
}

inline uint32_t moveChannel(uint32_t word, const ChannelMove& move) {
    return ((word >> move.rightShift) << move.leftShift) & move.mask;
}

inline uint32_t convertWord(uint32_t word, const PixelMoves& moves) {
    if (moves.inPlace) return word & moves.keep;
    return moveChannel(word, moves.red) + moveChannel(word, moves.green) + moveChannel(word, moves.blue);
}

inline void storeLowBytes(uint8_t* out, uint32_t value, int bytes) {
    out[0] = static_cast<uint8_t>(value);
    out[1] = static_cast<uint8_t>(value >> 8);
    if (bytes >= 3) out[2] = static_cast<uint8_t>(value >> 16);
    if (bytes >= 4) out[3] = static_cast<uint8_t>(value >> 24);
}

#if defined(__SSE2__)

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

// The commonest case, a 32-bit screen whose channels stay in place, is a
// masked copy; on x86 with AVX2 (checked when it runs) it moves 32 bytes a
// step, as fast as the library's memcpy. The browser build has no such path.
#if defined(__x86_64__) || defined(__i386__)
#define VOK_WIDE_MASK_COPY 1
__attribute__((target("avx2"))) void maskRows32Wide(const uint8_t* source, uint32_t keep, uint8_t* surface,
                                                    int32_t pitch) {
    const __m256i mask = _mm256_set1_epi32(static_cast<int>(keep));
    for (int32_t y = 0; y < screenHeight; ++y, surface += pitch, source += screenWidth * 4) {
#pragma GCC unroll 4
        for (int32_t x = 0; x < screenWidth; x += 8) {
            const __m256i words = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + 4 * x));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(surface + 4 * x), _mm256_and_si256(words, mask));
        }
    }
}
#endif

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

// `wide`: the 32-byte masked copy may be used (the processor has AVX2).
template <int BytesPerPixel>
void convertRowsVector(const uint8_t* source, const PixelMoves& moves, uint8_t* surface, int32_t pitch,
                       bool wide) {
    if (BytesPerPixel == 2) {
        const LaneMoves halves{halfMove(moves.red, 16), halfMove(moves.green, 0), halfMove(moves.blue, 0)};
        return withDirections(halves.directions(), [&](auto directions) {
            convertRowsWhole<2>(HalfConverter<decltype(directions)::value>{halves}, source, surface, pitch);
        });
    }
#ifdef VOK_WIDE_MASK_COPY
    if (moves.inPlace && BytesPerPixel == 4 && wide)
        return maskRows32Wide(source, moves.keep, surface, pitch);
#else
    (void)wide;
#endif
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

#endif

#if defined(__aarch64__)

// NEON converts four pixel words at a time in 32-bit lanes. Its shift takes
// a signed count per lane, left when positive and right when negative, so one
// loop serves every direction of the channels.
struct NeonMoves {
    int32x4_t redShift, greenShift, blueShift;
    uint32x4_t redMask, greenMask, blueMask;
};

NeonMoves neonMoves(const PixelMoves& moves) {
    auto shift = [](const ChannelMove& move) { return vdupq_n_s32(move.leftShift - move.rightShift); };
    return {shift(moves.red),          shift(moves.green),          shift(moves.blue),
            vdupq_n_u32(moves.red.mask), vdupq_n_u32(moves.green.mask), vdupq_n_u32(moves.blue.mask)};
}

inline uint32x4_t loadWords(const uint8_t* source) { return vreinterpretq_u32_u8(vld1q_u8(source)); }

struct NeonWordConverter {
    NeonMoves moves;
    uint32x4_t operator()(const uint8_t* source) const {
        const uint32x4_t words = loadWords(source);
        const uint32x4_t red = vandq_u32(vshlq_u32(words, moves.redShift), moves.redMask);
        const uint32x4_t green = vandq_u32(vshlq_u32(words, moves.greenShift), moves.greenMask);
        const uint32x4_t blue = vandq_u32(vshlq_u32(words, moves.blueShift), moves.blueMask);
        return vaddq_u32(vaddq_u32(red, green), blue);
    }
};

struct NeonMaskingConverter {
    uint32x4_t keep;
    uint32x4_t operator()(const uint8_t* source) const { return vandq_u32(loadWords(source), keep); }
};

// Every step converts 16 pixels, a whole number of which make a row, so each
// store lies inside its row.
static_assert(screenWidth % 16 == 0, "the NEON rows are converted 16 pixels a step");

template <int BytesPerPixel, typename Convert>
void neonRows(const Convert& convert, const uint8_t* source, uint8_t* surface, int32_t pitch) {
    for (int32_t y = 0; y < screenHeight; ++y, surface += pitch, source += screenWidth * 4) {
        for (int32_t x = 0; x < screenWidth; x += 16) {
            const uint8_t* in = source + 4 * x;
            uint8_t* out = surface + BytesPerPixel * x;
            const uint32x4_t v0 = convert(in), v1 = convert(in + 16), v2 = convert(in + 32), v3 = convert(in + 48);
            if (BytesPerPixel == 4) {
                vst1q_u8(out, vreinterpretq_u8_u32(v0));
                vst1q_u8(out + 16, vreinterpretq_u8_u32(v1));
                vst1q_u8(out + 32, vreinterpretq_u8_u32(v2));
                vst1q_u8(out + 48, vreinterpretq_u8_u32(v3));
            } else if (BytesPerPixel == 2) {
                vst1q_u8(out, vreinterpretq_u8_u16(vcombine_u16(vmovn_u32(v0), vmovn_u32(v1))));
                vst1q_u8(out + 16, vreinterpretq_u8_u16(vcombine_u16(vmovn_u32(v2), vmovn_u32(v3))));
            } else {
                // Two rounds of unzipping sort the bytes of the 16 values by
                // their place in the value; the interleaving store writes
                // the low three of each value one after another.
                const uint8x16_t even01 = vuzp1q_u8(vreinterpretq_u8_u32(v0), vreinterpretq_u8_u32(v1));
                const uint8x16_t even23 = vuzp1q_u8(vreinterpretq_u8_u32(v2), vreinterpretq_u8_u32(v3));
                const uint8x16_t odd01 = vuzp2q_u8(vreinterpretq_u8_u32(v0), vreinterpretq_u8_u32(v1));
                const uint8x16_t odd23 = vuzp2q_u8(vreinterpretq_u8_u32(v2), vreinterpretq_u8_u32(v3));
                const uint8x16x3_t bytes = {{vuzp1q_u8(even01, even23), vuzp1q_u8(odd01, odd23),
                                             vuzp2q_u8(even01, even23)}};
                vst3q_u8(out, bytes);
            }
        }
    }
}

template <int BytesPerPixel>
void convertRowsNeon(const uint8_t* source, const PixelMoves& moves, uint8_t* surface, int32_t pitch) {
    if (moves.inPlace)
        return neonRows<BytesPerPixel>(NeonMaskingConverter{vdupq_n_u32(moves.keep)}, source, surface, pitch);
    neonRows<BytesPerPixel>(NeonWordConverter{neonMoves(moves)}, source, surface, pitch);
}

#endif

// The plain loop, one pixel at a time; the reference of the vector paths.
template <int BytesPerPixel>
void convertRowsPortable(const uint8_t* source, const PixelMoves& moves, uint8_t* surface, int32_t pitch) {
    for (int32_t y = 0; y < screenHeight; ++y, surface += pitch)
        for (int32_t x = 0; x < screenWidth; ++x, source += 4)
            storeLowBytes(surface + x * BytesPerPixel, convertWord(pixelWord(source), moves), BytesPerPixel);
}

// Valid for a path that runs here.
template <int BytesPerPixel>
void convertRows(ConverterPath path, const Image& image, const PixelFormat& format, uint8_t* surface, int32_t pitch) {
    const PixelMoves moves = pixelMoves(format);
    switch (path) {
#if defined(__SSE2__)
        case ConverterPath::Sse2: return convertRowsVector<BytesPerPixel>(image.pixels, moves, surface, pitch, false);
        case ConverterPath::Avx2: return convertRowsVector<BytesPerPixel>(image.pixels, moves, surface, pitch, true);
#endif
#if defined(__aarch64__)
        case ConverterPath::Neon: return convertRowsNeon<BytesPerPixel>(image.pixels, moves, surface, pitch);
#endif
        default: return convertRowsPortable<BytesPerPixel>(image.pixels, moves, surface, pitch);
    }
}

ConverterPath fastestPath() {
#if defined(__aarch64__)
    return ConverterPath::Neon;
#else
    if (converterPathRuns(ConverterPath::Avx2)) return ConverterPath::Avx2;
    if (converterPathRuns(ConverterPath::Sse2)) return ConverterPath::Sse2;
    return ConverterPath::Portable;
#endif
}

}  // namespace

const char* converterPathName(ConverterPath path) {
    switch (path) {
        case ConverterPath::Portable: return "portable";
        case ConverterPath::Sse2: return "sse2";
        case ConverterPath::Avx2: return "avx2";
        case ConverterPath::Neon: return "neon";
    }
    return "unknown";
}

bool converterPathRuns(ConverterPath path) {
    switch (path) {
        case ConverterPath::Portable: return true;
#if defined(__SSE2__)
        case ConverterPath::Sse2: return true;
#endif
#ifdef VOK_WIDE_MASK_COPY
        case ConverterPath::Avx2: return __builtin_cpu_supports("avx2");
#endif
#if defined(__aarch64__)
        case ConverterPath::Neon: return true;
#endif
        default: return false;
    }
}

int presentWith(ConverterPath path, int bytesPerPixel, const Image& image, const PixelFormat& format,
                uint8_t* surface, int32_t pitch) {
    if (!converterPathRuns(path)) return 0;
    switch (bytesPerPixel) {
        case 4: convertRows<4>(path, image, format, surface, pitch); return 1;
        case 3: convertRows<3>(path, image, format, surface, pitch); return 1;
        case 2: convertRows<2>(path, image, format, surface, pitch); return 1;
        default: return 0;
    }
}

int present32(const Image& image, const PixelFormat& format, uint8_t* surface, int32_t pitch) {
    return presentWith(fastestPath(), 4, image, format, surface, pitch);
}

int present24(const Image& image, const PixelFormat& format, uint8_t* surface, int32_t pitch) {
    return presentWith(fastestPath(), 3, image, format, surface, pitch);
}

int present16(const Image& image, const PixelFormat& format, uint8_t* surface, int32_t pitch) {
    return presentWith(fastestPath(), 2, image, format, surface, pitch);
}
