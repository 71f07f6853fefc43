// The plain loop, one pixel at a time: every build has it, and it is the
// reference of the vector paths.
#include <cstring>

#include "display/converters.h"

namespace {

// The image's pixel word: blue in the low byte (the machines we build for
// are little-endian).
inline uint32_t pixelWord(const uint8_t* source) {
    uint32_t word;
    std::memcpy(&word, source, 4);
    return word;
}

inline uint32_t moveChannel(uint32_t word, const ChannelMove& move) {
    return ((word >> move.rightShift) << move.leftShift) & move.mask;
}

inline uint32_t convertWord(uint32_t word, const PixelMoves& moves) {
    if (moves.inPlace) return word & moves.keep;
    return moveChannel(word, moves.red) + moveChannel(word, moves.green) + moveChannel(word, moves.blue);
}

inline void storeLowBytes(uint8_t* out, uint32_t value, int bytes) {
    out[0] = static_cast<uint8_t>(value);
    out[1] = static_cast<uint8_t>(value >> 8);
    if (bytes >= 3) out[2] = static_cast<uint8_t>(value >> 16);
    if (bytes >= 4) out[3] = static_cast<uint8_t>(value >> 24);
}

// `moves` is taken by value: a reference could alias the surface's bytes and
// would be read again after every store.
template <int BytesPerPixel>
void convertRows(const uint8_t* source, const PixelMoves moves, uint8_t* surface, int32_t pitch) {
    for (int32_t y = 0; y < screenHeight; ++y, surface += pitch)
        for (int32_t x = 0; x < screenWidth; ++x, source += 4)
            storeLowBytes(surface + x * BytesPerPixel, convertWord(pixelWord(source), moves), BytesPerPixel);
}

void convert(int bytesPerPixel, const uint8_t* source, const PixelMoves& moves, uint8_t* surface, int32_t pitch) {
    switch (bytesPerPixel) {
        case 4: return convertRows<4>(source, moves, surface, pitch);
        case 3: return convertRows<3>(source, moves, surface, pitch);
        default: return convertRows<2>(source, moves, surface, pitch);
    }
}

bool runs() { return true; }

}  // namespace

const Converter portableConverter{runs, convert};
