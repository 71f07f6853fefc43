#include "pcx_writer.h"

namespace {

constexpr size_t headerSize = 128;
constexpr int longestRun = 63;      // a run byte holds 192 + length, length <= 63
constexpr uint8_t runFlag = 0xC0;   // bytes of 192 and more start a run

void put16(std::vector<uint8_t>& bytes, size_t offset, int value) {
    bytes[offset] = static_cast<uint8_t>(value & 0xFF);
    bytes[offset + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

std::vector<uint8_t> header(int width, int height) {
    std::vector<uint8_t> h(headerSize, 0);
    h[0] = 10;  // manufacturer: ZSoft
    h[1] = 5;   // version 5
    h[2] = 1;   // run-length encoding
    h[3] = 8;   // bits per pixel in each plane
    put16(h, 4, 0);           // x-min
    put16(h, 6, 0);           // y-min
    put16(h, 8, width - 1);   // x-max
    put16(h, 10, height - 1); // y-max
    put16(h, 12, width);      // the show's reader takes the width from here
    put16(h, 14, height);     // and the height from here
    h[65] = 3;                // planes
    put16(h, 66, width);      // bytes per plane line
    put16(h, 68, 1);          // palette information: colour
    return h;
}

// One plane row: runs of equal bytes, never past the row's end. A single
// byte below 192 stands for itself; anything else needs a run byte.
void encodePlaneRow(const uint8_t* row, int width, int stride, std::vector<uint8_t>& out) {
    int x = 0;
    while (x < width) {
        const uint8_t value = row[x * stride];
        int length = 1;
        while (x + length < width && length < longestRun && row[(x + length) * stride] == value) ++length;
        if (length == 1 && value < runFlag) {
            out.push_back(value);
        } else {
            out.push_back(static_cast<uint8_t>(runFlag | length));
            out.push_back(value);
        }
        x += length;
    }
}

}  // namespace

std::vector<uint8_t> encodePcx(int width, int height, const std::vector<uint8_t>& rgb) {
    std::vector<uint8_t> bytes = header(width, height);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = rgb.data() + static_cast<size_t>(y) * width * 3;
        for (int plane = 0; plane < 3; ++plane) encodePlaneRow(row + plane, width, 3, bytes);
    }
    return bytes;
}
