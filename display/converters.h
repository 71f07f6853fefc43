#pragma once
#include <cstdint>

#include "display/pixel_format.h"

// What the converters of every instruction set share: the moves of the three
// channels worked out once per format, and the entry each instruction set's
// file (convert_portable.cpp, convert_sse2.cpp, convert_avx2.cpp,
// convert_neon.cpp) provides.

// One channel of the conversion, ((c >> right) << left) & mask with c the
// channel's byte at bit `offset` of the pixel word, done as one shift of the
// whole word and one mask: shifting the word by offset + right - left and
// keeping only the bits the channel's byte can reach gives the same bits for
// any mask, and skips extracting the byte.
struct ChannelMove {
    int rightShift = 0, leftShift = 0;
    uint32_t mask = 0;
};

struct PixelMoves {
    ChannelMove red, green, blue;
    bool inPlace = false;  // every channel stays where it is: the value is the word masked
    uint32_t keep = 0;
};

// Valid for convertible formats (right shifts from 0 to 8).
PixelMoves pixelMoves(const PixelFormat& format);

// One instruction set's converter. `runs` is true when this build has it and
// this processor runs it; `convert`, called only then, writes 240 rows of 320
// pixels, `pitch` bytes apart, taking 2, 3 or 4 bytes a pixel. Every build
// links all four; those its processor family lacks never run.
struct Converter {
    bool (*runs)();
    void (*convert)(int bytesPerPixel, const uint8_t* source, const PixelMoves& moves, uint8_t* surface,
                    int32_t pitch);
};

extern const Converter portableConverter;
extern const Converter sse2Converter;  // x86, and the browser's WebAssembly SIMD
extern const Converter avx2Converter;  // x86: SSE2, with a 32-byte masked copy
extern const Converter neonConverter;  // 64-bit ARM
