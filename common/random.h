#pragma once
#include <cstdint>

// The process-wide pseudo-random generator: state 1 at start,
// state = state * 214013 + 2531011, draw = (state >> 16) & 0x7FFF.
namespace prng {

void srand(uint32_t seed);
int rand();      // 0..32767
void reset();    // back to the start state, 1
uint32_t state();

}  // namespace prng
