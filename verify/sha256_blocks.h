#pragma once
#include <cstddef>
#include <cstdint>

// The compression of whole 64-byte blocks into the eight state words, one
// file per instruction set like the screen converters: the portable loop
// every build has, and x86's SHA extensions where the processor has them
// (about five times as fast, so that hashing every frame of the show costs
// about what rendering it does). Both give the same state.
struct Sha256Blocks {
    bool (*runs)();  // this build has it and this processor runs it
    void (*compress)(uint32_t state[8], const uint8_t* blocks, size_t count);
};

extern const Sha256Blocks portableSha256Blocks;
extern const Sha256Blocks x86Sha256Blocks;

// The 64 round constants, in the order of the rounds.
extern const uint32_t sha256RoundConstants[64];
