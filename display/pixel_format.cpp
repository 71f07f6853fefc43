#include "display/pixel_format.h"

#include "display/converters.h"

int lowestSetBit(uint32_t mask) {
    if (mask == 0) return 0;
    int count = 0;
    while ((mask & 1u) == 0) {
        mask >>= 1;
        ++count;
    }
    return count;
}

int bitLength(uint32_t mask) {
    int length = 0;
    while (mask != 0) {
        mask >>= 1;
        ++length;
    }
    return length;
}

namespace {

// 8 minus the width of the field: how far an 8-bit channel drops before it
// is moved into place.
int32_t rightShiftFor(uint32_t mask) { return 8 - bitLength(mask) + lowestSetBit(mask); }

}  // namespace

PixelFormat makePixelFormat(uint32_t bitCount, uint32_t redMask, uint32_t greenMask, uint32_t blueMask) {
    PixelFormat format;
    format.bitCount = bitCount;
    format.redMask = redMask;
    format.redRightShift = rightShiftFor(redMask);
    format.redLeftShift = lowestSetBit(redMask);
    format.greenMask = greenMask;
    format.greenRightShift = rightShiftFor(greenMask);
    format.greenLeftShift = lowestSetBit(greenMask);
    format.blueMask = blueMask;
    format.blueRightShift = rightShiftFor(blueMask);
    format.blueLeftShift = lowestSetBit(blueMask);
    return format;
}

int converterBytes(const PixelFormat& format) {
    if (format.bitCount == 32) return 4;
    return format.bitCount == 24 ? 3 : 2;
}

bool isConvertible(const PixelFormat& format) {
    if (format.bitCount < 16 || format.bitCount > 32) return false;
    return format.redRightShift >= 0 && format.greenRightShift >= 0 && format.blueRightShift >= 0;
}

namespace {

ChannelMove channelMove(int offset, int32_t right, int32_t left, uint32_t mask) {
    ChannelMove move;
    const int net = offset + right - left;
    move.rightShift = net > 0 ? net : 0;
    move.leftShift = net < 0 ? -net : 0;
    move.mask = mask & ((0xFFu >> right) << left);
    return move;
}

}  // namespace

PixelMoves pixelMoves(const PixelFormat& format) {
    PixelMoves moves;
    moves.red = channelMove(16, format.redRightShift, format.redLeftShift, format.redMask);
    moves.green = channelMove(8, format.greenRightShift, format.greenLeftShift, format.greenMask);
    moves.blue = channelMove(0, format.blueRightShift, format.blueLeftShift, format.blueMask);
    auto stays = [](const ChannelMove& move) { return move.rightShift == 0 && move.leftShift == 0; };
    moves.inPlace = stays(moves.red) && stays(moves.green) && stays(moves.blue);
    // In place, each channel keeps bits of its own byte only, so the three
    // terms never overlap and their sum is the word masked by their union.
    moves.keep = moves.red.mask | moves.green.mask | moves.blue.mask;
    return moves;
}

namespace {

// The converters, fastest first; each says whether it runs here.
struct PathRow {
    ConverterPath path;
    const char* name;
    const Converter* converter;
};

const PathRow pathRows[] = {
    {ConverterPath::Neon, "neon", &neonConverter},
    {ConverterPath::Avx2, "avx2", &avx2Converter},
    {ConverterPath::Sse2, "sse2", &sse2Converter},
    {ConverterPath::Portable, "portable", &portableConverter},
};

const PathRow* rowOf(ConverterPath path) {
    for (const PathRow& row : pathRows)
        if (row.path == path) return &row;
    return nullptr;
}

// Chosen once, at the first frame presented.
ConverterPath fastestPath() {
    static const ConverterPath fastest = [] {
        for (const PathRow& row : pathRows)
            if (row.converter->runs()) return row.path;
        return ConverterPath::Portable;
    }();
    return fastest;
}

}  // namespace

const char* converterPathName(ConverterPath path) {
    const PathRow* row = rowOf(path);
    return row ? row->name : "unknown";
}

bool converterPathRuns(ConverterPath path) {
    const PathRow* row = rowOf(path);
    return row && row->converter->runs();
}

int presentWith(ConverterPath path, int bytesPerPixel, const Image& image, const PixelFormat& format,
                uint8_t* surface, int32_t pitch) {
    if (!converterPathRuns(path) || bytesPerPixel < 2 || bytesPerPixel > 4) return 0;
    rowOf(path)->converter->convert(bytesPerPixel, image.pixels, pixelMoves(format), surface, pitch);
    return 1;
}

int present32(const Image& image, const PixelFormat& format, uint8_t* surface, int32_t pitch) {
    return presentWith(fastestPath(), 4, image, format, surface, pitch);
}

int present24(const Image& image, const PixelFormat& format, uint8_t* surface, int32_t pitch) {
    return presentWith(fastestPath(), 3, image, format, surface, pitch);
}

int present16(const Image& image, const PixelFormat& format, uint8_t* surface, int32_t pitch) {
    return presentWith(fastestPath(), 2, image, format, surface, pitch);
}
