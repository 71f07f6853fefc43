#pragma once
#include <cstdint>

// A small seeded generator for scattering stars and dots: the same numbers on
// every run and every machine.
class ScatterRandom {
public:
    explicit ScatterRandom(uint32_t seed) : state_(seed) {}
    uint32_t next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }
    double unit() { return next() / 16777216.0; }  // 0 <= unit < 1
    double range(double low, double high) { return low + (high - low) * unit(); }

private:
    uint32_t state_;
};
