// The portable compression, a round at a time: the reference of the others.
#include "verify/sha256_blocks.h"

const uint32_t sha256RoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

namespace {

inline uint32_t rotateRight(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

// Words are big-endian, whatever the machine.
inline uint32_t loadBigEndian(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

// One round: the eight working variables turn by one place, which the
// macro does by naming them in turn instead of moving them.
#define VOK_SHA256_ROUND(a, b, c, d, e, f, g, h, k, w)                                       \
    do {                                                                                    \
        const uint32_t t1 = h + (rotateRight(e, 6) ^ rotateRight(e, 11) ^ rotateRight(e, 25)) + \
                            (g ^ (e & (f ^ g))) + (k) + (w);                                \
        d += t1;                                                                            \
        h = t1 + (rotateRight(a, 2) ^ rotateRight(a, 13) ^ rotateRight(a, 22)) +             \
            ((a & b) | (c & (a | b)));                                                      \
    } while (0)

void compressBlock(uint32_t state[8], const uint8_t* block) {
    uint32_t w[64];
    for (int i = 0; i < 16; ++i) w[i] = loadBigEndian(block + 4 * i);
    for (int i = 16; i < 64; ++i) {
        const uint32_t s0 = rotateRight(w[i - 15], 7) ^ rotateRight(w[i - 15], 18) ^ (w[i - 15] >> 3);
        const uint32_t s1 = rotateRight(w[i - 2], 17) ^ rotateRight(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
    for (int i = 0; i < 64; i += 8) {
        VOK_SHA256_ROUND(a, b, c, d, e, f, g, h, sha256RoundConstants[i], w[i]);
        VOK_SHA256_ROUND(h, a, b, c, d, e, f, g, sha256RoundConstants[i + 1], w[i + 1]);
        VOK_SHA256_ROUND(g, h, a, b, c, d, e, f, sha256RoundConstants[i + 2], w[i + 2]);
        VOK_SHA256_ROUND(f, g, h, a, b, c, d, e, sha256RoundConstants[i + 3], w[i + 3]);
        VOK_SHA256_ROUND(e, f, g, h, a, b, c, d, sha256RoundConstants[i + 4], w[i + 4]);
        VOK_SHA256_ROUND(d, e, f, g, h, a, b, c, sha256RoundConstants[i + 5], w[i + 5]);
        VOK_SHA256_ROUND(c, d, e, f, g, h, a, b, sha256RoundConstants[i + 6], w[i + 6]);
        VOK_SHA256_ROUND(b, c, d, e, f, g, h, a, sha256RoundConstants[i + 7], w[i + 7]);
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
    state[5] += f;
    state[6] += g;
    state[7] += h;
}

#undef VOK_SHA256_ROUND

void compress(uint32_t state[8], const uint8_t* blocks, size_t count) {
    for (; count > 0; --count, blocks += 64) compressBlock(state, blocks);
}

bool runs() { return true; }

}  // namespace

const Sha256Blocks portableSha256Blocks{runs, compress};
