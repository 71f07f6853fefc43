#pragma once
// Helpers shared by the effect tests: random pictures, pixel access and a
// minimal PCX writer for pictures of odd sizes.
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "image/image.h"

namespace effects_test {

inline void fillRandom(Image& image, uint32_t seed) {
    std::mt19937 random(seed);
    for (int32_t i = 0; i < 4 * image.count; ++i) image.pixels[i] = static_cast<uint8_t>(random());
}

inline uint32_t pixel(const Image& image, int32_t index) {
    uint32_t word;
    std::memcpy(&word, image.pixels + 4 * index, 4);
    return word;
}

inline void setPixel(Image& image, int32_t index, uint32_t word) { std::memcpy(image.pixels + 4 * index, &word, 4); }

inline std::vector<uint8_t> bytesOf(const Image& image) {
    return std::vector<uint8_t>(image.pixels, image.pixels + 4 * image.count);
}

// A PCX file of the given size as the reader takes it (size at offsets 12 and
// 14, three planes, red first), every byte written as a run of one.
inline std::vector<uint8_t> pcxFile(int width, int height, uint8_t red, uint8_t green, uint8_t blue) {
    std::vector<uint8_t> file(128, 0);
    file[0] = 10, file[1] = 5, file[2] = 1, file[3] = 8, file[65] = 3;
    file[12] = static_cast<uint8_t>(width), file[13] = static_cast<uint8_t>(width >> 8);
    file[14] = static_cast<uint8_t>(height), file[15] = static_cast<uint8_t>(height >> 8);
    for (int y = 0; y < height; ++y) {
        for (uint8_t value : {red, green, blue}) {
            for (int x = 0; x < width; ++x) file.insert(file.end(), {0xC1, value});
        }
    }
    return file;
}

}  // namespace effects_test
