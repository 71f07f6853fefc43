#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A picture of 8-bit red, green, blue pixels, row by row from the top.
struct RgbPicture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
};

constexpr int largestPictureSide = 4096;

// Reads a PNG (through libpng) or a JPEG (through libjpeg). Transparent parts
// are laid over black, which the show's added pictures treat as see-through.
// Returns false with the reason in `error` when the file cannot be read, is
// neither format, or is larger than largestPictureSide on a side (refused
// before its pixels are decoded).
bool readPicture(const std::string& path, RgbPicture& picture, std::string& error);
