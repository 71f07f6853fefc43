#pragma once
// Helpers shared by the effect tests: random pictures and pixel access.
// Pictures of odd sizes come from makePcx (support/test_data.h).
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "image/image.h"

namespace effects_test {

inline void fillRandom(Image& image, uint32_t seed) {
    std::mt19937 random(seed);
    for (int32_t i = 0; i < 4 * image.count(); ++i) image.pixels[i] = static_cast<uint8_t>(random());
}

inline uint32_t pixel(const Image& image, int32_t index) {
    uint32_t word;
    std::memcpy(&word, image.pixels + 4 * index, 4);
    return word;
}

inline void setPixel(Image& image, int32_t index, uint32_t word) { std::memcpy(image.pixels + 4 * index, &word, 4); }

inline std::vector<uint8_t> bytesOf(const Image& image) {
    return std::vector<uint8_t>(image.pixels, image.pixels + 4 * image.count());
}

}  // namespace effects_test
