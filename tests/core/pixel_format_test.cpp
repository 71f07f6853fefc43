#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "display/pixel_format.h"
#include "image/image.h"

namespace {

const PixelFormat rgb565 = makePixelFormat(16, 0xF800, 0x07E0, 0x001F);
const PixelFormat rgb555 = makePixelFormat(16, 0x7C00, 0x03E0, 0x001F);
const PixelFormat rgb888at24 = makePixelFormat(24, 0xFF0000, 0x00FF00, 0x0000FF);
const PixelFormat rgb888at32 = makePixelFormat(32, 0xFF0000, 0x00FF00, 0x0000FF);

constexpr uint8_t untouched = 0xA5;

void setPixel(Image& image, int x, int y, uint8_t r, uint8_t g, uint8_t b, uint8_t fourth = 0) {
    uint8_t* p = image.pixels + 4 * (x + y * image.width);
    p[0] = b;
    p[1] = g;
    p[2] = r;
    p[3] = fourth;
}

// A surface of 240 rows `pitch` bytes apart, pre-filled so that untouched
// bytes can be told from written ones.
struct Surface {
    int32_t pitch;
    std::vector<uint8_t> bytes;
    explicit Surface(int32_t rowPitch) : pitch(rowPitch), bytes(size_t(rowPitch) * screenHeight, untouched) {}
    const uint8_t* at(int x, int y, int bytesPerPixel) const { return bytes.data() + y * pitch + x * bytesPerPixel; }
    uint32_t word16(int x, int y) const {
        const uint8_t* p = at(x, y, 2);
        return p[0] | (p[1] << 8);
    }
    uint32_t word24(int x, int y) const {
        const uint8_t* p = at(x, y, 3);
        return p[0] | (p[1] << 8) | (p[2] << 16);
    }
    uint32_t word32(int x, int y) const {
        const uint8_t* p = at(x, y, 4);
        return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24);
    }
};

TEST(PixelFormatMasks, LowestSetBitAndBitLength) {
    EXPECT_EQ(lowestSetBit(0), 0);
    EXPECT_EQ(bitLength(0), 0);
    EXPECT_EQ(lowestSetBit(0xF800), 11);
    EXPECT_EQ(bitLength(0xF800), 16);
    EXPECT_EQ(lowestSetBit(1), 0);
    EXPECT_EQ(bitLength(1), 1);
    EXPECT_EQ(lowestSetBit(0x80000000u), 31);
    EXPECT_EQ(bitLength(0x80000000u), 32);
    EXPECT_EQ(bitLength(0xFFFFFFFFu), 32);
}

TEST(PixelFormatMasks, ShiftsOfTheUsualFormats) {
    EXPECT_EQ(rgb565.redRightShift, 3);
    EXPECT_EQ(rgb565.redLeftShift, 11);
    EXPECT_EQ(rgb565.greenRightShift, 2);
    EXPECT_EQ(rgb565.greenLeftShift, 5);
    EXPECT_EQ(rgb565.blueRightShift, 3);
    EXPECT_EQ(rgb565.blueLeftShift, 0);

    EXPECT_EQ(rgb555.redRightShift, 3);
    EXPECT_EQ(rgb555.redLeftShift, 10);
    EXPECT_EQ(rgb555.greenRightShift, 3);
    EXPECT_EQ(rgb555.greenLeftShift, 5);

    EXPECT_EQ(rgb888at32.redRightShift, 0);
    EXPECT_EQ(rgb888at32.redLeftShift, 16);
    EXPECT_EQ(rgb888at32.greenLeftShift, 8);
    EXPECT_EQ(rgb888at32.blueLeftShift, 0);
}

TEST(PixelFormatMasks, ConvertibleFormats) {
    EXPECT_TRUE(isConvertible(rgb565));
    EXPECT_TRUE(isConvertible(rgb555));
    EXPECT_TRUE(isConvertible(rgb888at24));
    EXPECT_TRUE(isConvertible(rgb888at32));
    // An 8-bit palettized screen: its rows are too short for 2 bytes a pixel.
    EXPECT_FALSE(isConvertible(makePixelFormat(8, 0, 0, 0)));
    EXPECT_FALSE(isConvertible(makePixelFormat(8, 0xE0, 0x1C, 0x03)));
    // 10-10-10 channels are wider than the image's 8 bits.
    EXPECT_FALSE(isConvertible(makePixelFormat(32, 0x3FF00000, 0x000FFC00, 0x000003FF)));
}

TEST(PixelFormatConvert, SixteenBitsFiveSixFive) {
    Image image;
    setPixel(image, 0, 0, 255, 255, 255);
    setPixel(image, 1, 0, 255, 0, 0);
    setPixel(image, 2, 0, 7, 0, 0);
    setPixel(image, 3, 0, 0, 255, 0);
    setPixel(image, 4, 0, 0, 0, 255);
    setPixel(image, 319, 239, 0x84, 0x42, 0x21);
    Surface surface(640);
    EXPECT_EQ(present16(image, rgb565, surface.bytes.data(), surface.pitch), 1);
    EXPECT_EQ(surface.word16(0, 0), 0xFFFFu);
    EXPECT_EQ(surface.word16(1, 0), 0xF800u);
    EXPECT_EQ(surface.word16(2, 0), 0u);
    EXPECT_EQ(surface.word16(3, 0), 0x07E0u);
    EXPECT_EQ(surface.word16(4, 0), 0x001Fu);
    EXPECT_EQ(surface.word16(5, 0), 0u);
    EXPECT_EQ(surface.word16(319, 239), (0x10u << 11) | (0x10u << 5) | 0x04u);
}

TEST(PixelFormatConvert, SixteenBitsFiveFiveFive) {
    Image image;
    setPixel(image, 0, 0, 255, 255, 255);
    setPixel(image, 1, 0, 255, 0, 0);
    setPixel(image, 2, 0, 0, 7, 0);
    Surface surface(640);
    present16(image, rgb555, surface.bytes.data(), surface.pitch);
    EXPECT_EQ(surface.word16(0, 0), 0x7FFFu);
    EXPECT_EQ(surface.word16(1, 0), 0x7C00u);
    EXPECT_EQ(surface.word16(2, 0), 0u);
}

TEST(PixelFormatConvert, TwentyFourBitsWritesThreeBytesAPixel) {
    Image image;
    setPixel(image, 0, 0, 0x12, 0x34, 0x56, 0x78);
    setPixel(image, 319, 0, 255, 255, 255, 255);
    setPixel(image, 0, 1, 1, 2, 3);
    Surface surface(960);
    present24(image, rgb888at24, surface.bytes.data(), surface.pitch);
    EXPECT_EQ(surface.word24(0, 0), 0x123456u);
    EXPECT_EQ(surface.word24(319, 0), 0xFFFFFFu);
    EXPECT_EQ(surface.word24(0, 1), 0x010203u);
    // Exactly 960 bytes a row: every byte was written.
    for (uint8_t byte : surface.bytes) ASSERT_NE(byte, untouched);
}

TEST(PixelFormatConvert, ThirtyTwoBitsLeavesTheTopByteZero) {
    Image image;
    setPixel(image, 0, 0, 0x12, 0x34, 0x56, 0xFF);
    setPixel(image, 100, 120, 255, 255, 255, 0x80);
    Surface surface(1280);
    present32(image, rgb888at32, surface.bytes.data(), surface.pitch);
    EXPECT_EQ(surface.word32(0, 0), 0x00123456u);
    EXPECT_EQ(surface.word32(100, 120), 0x00FFFFFFu);
    EXPECT_EQ(surface.word32(1, 0), 0u);
}

TEST(PixelFormatConvert, BlueFirstMasksAreHonoured) {
    const PixelFormat bgr = makePixelFormat(32, 0x0000FF, 0x00FF00, 0xFF0000);
    Image image;
    setPixel(image, 0, 0, 0x12, 0x34, 0x56);
    Surface surface(1280);
    present32(image, bgr, surface.bytes.data(), surface.pitch);
    EXPECT_EQ(surface.word32(0, 0), 0x00563412u);
}

// Rows are `pitch` apart; the bytes after each row's end stay as they were.
TEST(PixelFormatConvert, PitchLargerThanTheRowLeavesTheGapUntouched) {
    Image image;
    for (int y = 0; y < screenHeight; ++y)
        for (int x = 0; x < screenWidth; ++x) setPixel(image, x, y, 255, 255, 255, 255);

    struct Case {
        int bytesPerPixel;
        const PixelFormat* format;
        int (*convert)(const Image&, const PixelFormat&, uint8_t*, int32_t);
    };
    const Case cases[] = {{2, &rgb565, present16}, {3, &rgb888at24, present24}, {4, &rgb888at32, present32}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytesPerPixel);
        const int32_t rowBytes = screenWidth * c.bytesPerPixel;
        Surface surface(rowBytes + 36);
        c.convert(image, *c.format, surface.bytes.data(), surface.pitch);
        for (int y = 0; y < screenHeight; ++y) {
            const uint8_t* row = surface.bytes.data() + y * surface.pitch;
            for (int i = 0; i < rowBytes; ++i) ASSERT_NE(row[i], untouched) << "row " << y;
            for (int i = rowBytes; i < surface.pitch; ++i) ASSERT_EQ(row[i], untouched) << "row " << y;
        }
    }
}

// Rows follow one another in the image: pixel (x, y) is read at index x + 320 y.
TEST(PixelFormatConvert, ReadsTheImageRowAfterRow) {
    Image image;
    for (int y = 0; y < screenHeight; ++y) setPixel(image, y % screenWidth, y, 0, 0, uint8_t(y));
    Surface surface(1280 + 4);
    present32(image, rgb888at32, surface.bytes.data(), surface.pitch);
    for (int y = 0; y < screenHeight; ++y) ASSERT_EQ(surface.word32(y % screenWidth, y), uint32_t(y)) << y;
}

}  // namespace

namespace {

// The plain per-pixel conversion, kept as the reference the fast converters
// must match byte for byte: three byte loads, shifts and masks, a sum, and
// the low bytes of the sum stored.
void referenceConvert(const Image& image, const PixelFormat& format, uint8_t* surface, int32_t pitch,
                      int bytesPerPixel) {
    const uint8_t* source = image.pixels;
    for (int32_t y = 0; y < screenHeight; ++y, surface += pitch)
        for (int32_t x = 0; x < screenWidth; ++x, source += 4) {
            const uint32_t b = source[0], g = source[1], r = source[2];
            const uint32_t value = (((r >> format.redRightShift) << format.redLeftShift) & format.redMask) +
                                   (((g >> format.greenRightShift) << format.greenLeftShift) & format.greenMask) +
                                   (((b >> format.blueRightShift) << format.blueLeftShift) & format.blueMask);
            for (int i = 0; i < bytesPerPixel; ++i) surface[x * bytesPerPixel + i] = uint8_t(value >> (8 * i));
        }
}

TEST(PixelFormatConvert, SameBytesAsThePlainConversionForEveryLayout) {
    Image image;
    uint32_t seed = 12345;
    for (int32_t i = 0; i < image.count() * 4; ++i) {
        seed = seed * 1664525u + 1013904223u;
        image.pixels[i] = uint8_t(seed >> 24);
    }
    setPixel(image, 0, 0, 255, 255, 255, 255);
    setPixel(image, 319, 239, 7, 3, 7, 0x80);

    const PixelFormat layouts[] = {
        rgb565,
        rgb555,
        rgb888at24,
        rgb888at32,
        makePixelFormat(32, 0x0000FF, 0x00FF00, 0xFF0000),        // blue first
        makePixelFormat(24, 0x0000FF, 0x00FF00, 0xFF0000),
        makePixelFormat(32, 0xFF000000u, 0x00FF0000, 0x0000FF00),  // colour in the top three bytes
        makePixelFormat(16, 0xFF0000, 0x00FF00, 0x0000FF),        // wider than the pixel: low bytes kept
        makePixelFormat(16, 0x0F00, 0x00F0, 0x000F),              // 4-4-4
        makePixelFormat(16, 0x001F, 0x07E0, 0xF800),              // 5-6-5 blue first
        makePixelFormat(32, 0x3FC00000, 0x000FF000, 0x000003FC),  // 8-bit fields off byte bounds
        makePixelFormat(16, 0, 0x07E0, 0x001F),                   // no red field
    };
    const ConverterPath paths[] = {ConverterPath::Portable, ConverterPath::Sse2, ConverterPath::Avx2,
                                   ConverterPath::Neon};
    using Converter = int (*)(const Image&, const PixelFormat&, uint8_t*, int32_t);
    const struct {
        Converter convert;
        int bytesPerPixel;
    } converters[] = {{present16, 2}, {present24, 3}, {present32, 4}};
    for (const PixelFormat& format : layouts)
        for (const auto& converter : converters)
            for (int32_t gap : {0, 1, 36}) {
                SCOPED_TRACE(testing::Message() << std::hex << format.redMask << "/" << format.greenMask << "/"
                                                << format.blueMask << std::dec << " at " << converter.bytesPerPixel
                                                << " bytes, row gap " << gap);
                ASSERT_TRUE(isConvertible(format));
                const int32_t pitch = screenWidth * converter.bytesPerPixel + gap;
                Surface expected(pitch), actual(pitch);
                referenceConvert(image, format, expected.bytes.data(), pitch, converter.bytesPerPixel);
                converter.convert(image, format, actual.bytes.data(), pitch);
                ASSERT_TRUE(expected.bytes == actual.bytes) << "the default path";
                // Every path this build has, the portable one included, gives the same bytes.
                for (ConverterPath path : paths) {
                    if (!converterPathRuns(path)) continue;
                    Surface byPath(pitch);
                    ASSERT_EQ(presentWith(path, converter.bytesPerPixel, image, format, byPath.bytes.data(), pitch), 1);
                    ASSERT_TRUE(expected.bytes == byPath.bytes) << "the " << converterPathName(path) << " path";
                }
            }
}

// The vector path of the processor is compiled in (a build that lost it would
// still pass on the portable path alone), and a path that cannot run here
// writes nothing.
TEST(PixelFormatConvert, EachBuildHasItsProcessorsPaths) {
    EXPECT_TRUE(converterPathRuns(ConverterPath::Portable));
#if defined(__aarch64__)
    EXPECT_TRUE(converterPathRuns(ConverterPath::Neon));
    const ConverterPath absent = ConverterPath::Sse2;
#else
    EXPECT_TRUE(converterPathRuns(ConverterPath::Sse2));
    const ConverterPath absent = ConverterPath::Neon;
#endif
    Image image;
    Surface surface(1280);
    EXPECT_EQ(presentWith(absent, 4, image, rgb888at32, surface.bytes.data(), surface.pitch), 0);
    EXPECT_EQ(presentWith(ConverterPath::Portable, 5, image, rgb888at32, surface.bytes.data(), surface.pitch), 0);
    for (uint8_t byte : surface.bytes) ASSERT_EQ(byte, untouched);
}

}  // namespace
