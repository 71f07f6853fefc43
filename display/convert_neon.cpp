// The NEON converter, for 64-bit ARM, where every processor has NEON.
#include "display/converters.h"

#if defined(__aarch64__)

#include <arm_neon.h>

namespace {

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
void convertRows(const uint8_t* source, const PixelMoves& moves, uint8_t* surface, int32_t pitch) {
    if (moves.inPlace)
        return neonRows<BytesPerPixel>(NeonMaskingConverter{vdupq_n_u32(moves.keep)}, source, surface, pitch);
    neonRows<BytesPerPixel>(NeonWordConverter{neonMoves(moves)}, source, surface, pitch);
}

void convert(int bytesPerPixel, const uint8_t* source, const PixelMoves& moves, uint8_t* surface, int32_t pitch) {
    switch (bytesPerPixel) {
        case 4: return convertRows<4>(source, moves, surface, pitch);
        case 3: return convertRows<3>(source, moves, surface, pitch);
        default: return convertRows<2>(source, moves, surface, pitch);
    }
}

bool runs() { return true; }

}  // namespace

const Converter neonConverter{runs, convert};

#else

const Converter neonConverter{[] { return false; }, nullptr};

#endif
