#pragma once
#include <cstdint>

#include "image/image.h"

// Converts the 320x240 BGRA work image into a screen surface of another pixel
// format, with per-channel shifts worked out once from the format's masks.
int lowestSetBit(uint32_t mask);  // 0 for 0; 0xF800 gives 11
int bitLength(uint32_t mask);     // 0 for 0; 0xF800 gives 16

struct PixelFormat {
    uint32_t bitCount = 0;
    uint32_t redMask = 0, greenMask = 0, blueMask = 0;
    int32_t redRightShift = 0, redLeftShift = 0;
    int32_t greenRightShift = 0, greenLeftShift = 0;
    int32_t blueRightShift = 0, blueLeftShift = 0;
};

PixelFormat makePixelFormat(uint32_t bitCount, uint32_t redMask, uint32_t greenMask, uint32_t blueMask);

// False for formats the converters cannot write safely: below 16 bits per
// pixel, or a channel wider than 8 bits (a negative right shift).
bool isConvertible(const PixelFormat& format);

// The converter a surface takes, by the bytes it writes a pixel, from the
// surface's own format (in a window and in full screen alike, since a full
// screen keeps the desktop's format where its own mode is refused): 4 for 32
// bits, 3 for 24, 2 for any other.
int converterBytes(const PixelFormat& format);

// Each writes 240 rows of 320 pixels, rows `pitch` bytes apart, taking 4, 3 or 2
// bytes a pixel. The image must hold 76,800 pixels. Each returns 1.
int present32(const Image& image, const PixelFormat& format, uint8_t* surface, int32_t pitch);
int present24(const Image& image, const PixelFormat& format, uint8_t* surface, int32_t pitch);
int present16(const Image& image, const PixelFormat& format, uint8_t* surface, int32_t pitch);

// The ways a conversion can be done, all giving the same bytes: the plain C++
// loop every build has, SSE2 (x86, and the browser's WebAssembly SIMD), SSE2
// with a 32-byte masked copy for 32-bit screens whose channels stay in place
// (x86 with AVX2), and NEON (64-bit ARM). present32, present24 and present16
// take the fastest one this processor runs.
enum class ConverterPath { Portable, Sse2, Avx2, Neon };

const char* converterPathName(ConverterPath path);

// True when this build has the path and this processor can run it.
bool converterPathRuns(ConverterPath path);

// Converts with the given path, taking `bytesPerPixel` (2, 3 or 4) bytes a
// pixel; returns 1, or 0 having written nothing when the path does not run here.
int presentWith(ConverterPath path, int bytesPerPixel, const Image& image, const PixelFormat& format,
                uint8_t* surface, int32_t pitch);
