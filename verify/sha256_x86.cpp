// The compression with x86's SHA extensions (checked when it runs): two
// rounds an instruction, and the message schedule four words at a time. Only
// these functions are compiled for them (their target attribute), so the
// build still runs on processors without. Other processors have no such path.
#include "verify/sha256_blocks.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

namespace {

// The state as the instructions hold it: words A, B, E, F in one vector and
// C, D, G, H in the other.
struct ShaState {
    __m128i abef, cdgh;
};

__attribute__((target("sha,sse4.1"))) ShaState loadState(const uint32_t state[8]) {
    const __m128i dcba = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0xB1);
    const __m128i efgh = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state + 4)), 0x1B);
    return {_mm_alignr_epi8(dcba, efgh, 8), _mm_blend_epi16(efgh, dcba, 0xF0)};
}

__attribute__((target("sha,sse4.1"))) void storeState(const ShaState& s, uint32_t state[8]) {
    const __m128i feba = _mm_shuffle_epi32(s.abef, 0x1B);
    const __m128i dchg = _mm_shuffle_epi32(s.cdgh, 0xB1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_blend_epi16(feba, dchg, 0xF0));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), _mm_alignr_epi8(dchg, feba, 8));
}

// Words 4i to 4i+3 of the schedule from the four vectors before them, the
// oldest in m[i % 4], which they replace.
__attribute__((target("sha,sse4.1"))) __m128i nextWords(const __m128i m[4], int i) {
    const __m128i older = _mm_sha256msg1_epu32(m[i & 3], m[(i + 1) & 3]);
    const __m128i sevenBack = _mm_alignr_epi8(m[(i + 3) & 3], m[(i + 2) & 3], 4);
    return _mm_sha256msg2_epu32(_mm_add_epi32(older, sevenBack), m[(i + 3) & 3]);
}

__attribute__((target("sha,sse4.1"))) void compress(uint32_t state[8], const uint8_t* blocks, size_t count) {
    // The message's words are big-endian.
    const __m128i byteOrder = _mm_set_epi64x(0x0c0d0e0f08090a0bLL, 0x0405060700010203LL);
    ShaState s = loadState(state);
    for (; count > 0; --count, blocks += 64) {
        const ShaState before = s;
        __m128i m[4];
#pragma GCC unroll 16
        for (int i = 0; i < 16; ++i) {
            const __m128i words =
                i < 4 ? _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * i)), byteOrder)
                      : nextWords(m, i);
            m[i & 3] = words;
            const __m128i constants = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sha256RoundConstants + 4 * i));
            const __m128i sums = _mm_add_epi32(words, constants);
            s.cdgh = _mm_sha256rnds2_epu32(s.cdgh, s.abef, sums);
            s.abef = _mm_sha256rnds2_epu32(s.abef, s.cdgh, _mm_shuffle_epi32(sums, 0x0E));
        }
        s.abef = _mm_add_epi32(s.abef, before.abef);
        s.cdgh = _mm_add_epi32(s.cdgh, before.cdgh);
    }
    storeState(s, state);
}

bool runs() { return __builtin_cpu_supports("sha") && __builtin_cpu_supports("sse4.1"); }

}  // namespace

const Sha256Blocks x86Sha256Blocks{runs, compress};

#else

const Sha256Blocks x86Sha256Blocks{[] { return false; }, nullptr};

#endif
