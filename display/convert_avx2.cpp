// The commonest case, a 32-bit screen whose channels stay in place, is a
// masked copy; on x86 with AVX2 (checked when it runs) it moves 32 bytes a
// step, as fast as the library's memcpy. Every other case is the SSE2
// converter's. Only this function is compiled for AVX2 (its target
// attribute), so the build still runs on processors without it. The browser
// build has no such path.
#include "display/converters.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

namespace {

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

void convert(int bytesPerPixel, const uint8_t* source, const PixelMoves& moves, uint8_t* surface, int32_t pitch) {
    if (moves.inPlace && bytesPerPixel == 4) return maskRows32Wide(source, moves.keep, surface, pitch);
    sse2Converter.convert(bytesPerPixel, source, moves, surface, pitch);
}

bool runs() { return sse2Converter.runs() && __builtin_cpu_supports("avx2"); }

}  // namespace

const Converter avx2Converter{runs, convert};

#else

const Converter avx2Converter{[] { return false; }, nullptr};

#endif
