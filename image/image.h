#pragma once
#include <cstdint>

// Screen geometry shared by the work image, the wire layer and the full-screen pictures.
constexpr int32_t screenWidth = 320;
constexpr int32_t screenHeight = 240;
constexpr int32_t screenPixels = screenWidth * screenHeight;  // 76,800
constexpr int32_t screenBytes = screenPixels * 4;             // 307,200

// A 32-bit BGRA raster that owns its pixel array. Pixel (x, y) starts at byte
// 4 * (x + y * width): blue, green, red, then a byte that carries no colour.
struct Image {
    int32_t width;
    int32_t height;
    uint8_t* pixels;

    Image();                               // 320x240, all bytes zero
    Image(int32_t width, int32_t height);  // all bytes zero; a negative size gives 0x0
    ~Image();                              // frees the array unless release() already did
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    void release();
    int copyFrom(const Image& source);
    void clear(int value);
    int drawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour);
    void addSaturate(const Image& source);
    void addBlit(const Image& source, int32_t x, int32_t y);

    int32_t count() const { return width * height; }  // pixels, 4 bytes each
    bool isScreenSized() const { return width == screenWidth && height == screenHeight; }
    uint32_t pixelAt(int32_t x, int32_t y) const;  // the pixel word, for tests and tools
};
