#pragma once
#include <cstdint>

// The show's pseudo-random generator: state 1 at start,
// state = state * 214013 + 2531011, draw = (state >> 16) & 0x7FFF.
// One lives in the show's state; the channel drift seeds it, the drift's walk
// and the scenes' jitters draw from it.
class Random {
public:
    void srand(uint32_t seed) { state = seed; }
    int rand() {  // 0..32767
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    }

    uint32_t state = 1;
};
