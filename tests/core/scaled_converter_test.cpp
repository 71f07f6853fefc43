#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "display/scaled_converter.h"
#include "display/screen_scale.h"

namespace {

TEST(ScreenScale, WholeScaleOfADpiRoundsHalvesUp) {
    const struct {
        uint32_t dpi;
        int32_t scale;
    } rows[] = {{0, 1}, {72, 1}, {96, 1}, {120, 1}, {143, 1}, {144, 2}, {168, 2}, {192, 2}, {240, 3}, {288, 3}, {384, 4}};
    for (const auto& row : rows) EXPECT_EQ(wholeScaleForDpi(row.dpi), row.scale) << row.dpi;
}

TEST(ScreenScale, CentredPlacementTakesTheLargestWholeScaleThatFits) {
    const struct {
        int32_t width, height, cap;
        int32_t x, y, scale;
    } rows[] = {
        {1024, 768, 0, 32, 24, 3},   // 960x720 with bands of 32 and 24
        {1024, 768, 2, 192, 144, 2}, // --scale 2 caps it
        {1024, 768, 9, 32, 24, 3},   // a cap above what fits changes nothing
        {320, 240, 0, 0, 0, 1},
        {1920, 1080, 0, 320, 60, 4},
        {1366, 768, 0, 203, 24, 3},  // the odd pixel left over goes right
        {640, 1024, 0, 0, 272, 2},   // a portrait screen
        {319, 240, 0, 0, 0, 0},      // not even 320x240 fits
    };
    for (const auto& row : rows) {
        const Placement p = centredPlacement(row.width, row.height, row.cap);
        EXPECT_EQ(p.scale, row.scale) << row.width << "x" << row.height;
        EXPECT_EQ(p.x, row.x) << row.width << "x" << row.height;
        EXPECT_EQ(p.y, row.y) << row.width << "x" << row.height;
    }
}

constexpr uint8_t untouched = 0xA5;

// A picture whose every pixel differs from its neighbours.
const Image& pattern() {
    static Image image;
    for (int i = 0; i < screenPixels; ++i) {
        image.pixels[4 * i + 0] = static_cast<uint8_t>(i * 3);
        image.pixels[4 * i + 1] = static_cast<uint8_t>(i >> 4);
        image.pixels[4 * i + 2] = static_cast<uint8_t>(255 - i);
    }
    return image;
}

struct Case {
    const char* name;
    PixelFormat format;
    int bytes;
};

const Case formats[] = {
    {"32-bit", makePixelFormat(32, 0xFF0000, 0xFF00, 0xFF), 4},
    {"24-bit", makePixelFormat(24, 0xFF0000, 0xFF00, 0xFF), 3},
    {"5-6-5", makePixelFormat(16, 0xF800, 0x07E0, 0x001F), 2},
};

// Every pixel of the scaled picture is its source pixel as the plain
// converter writes it, the bands are black and the padding is untouched.
TEST(ScaledConverter, RepeatsEveryPixelAndBlacksTheBands) {
    const int32_t width = 700, height = 500;
    const Placement placement = centredPlacement(width, height, 0);  // x2 at (30, 10)
    ASSERT_EQ(placement.scale, 2);
    for (const Case& c : formats) {
        const int32_t pitch = width * c.bytes + 8;
        std::vector<uint8_t> surface(static_cast<size_t>(pitch) * height, untouched);
        std::vector<uint8_t> plain(static_cast<size_t>(screenWidth) * c.bytes * screenHeight);
        ScaledConverter converter;
        ASSERT_TRUE(converter.convert(pattern(), c.format, c.bytes, surface.data(), pitch, width, height, placement));
        ASSERT_TRUE(converter.convert(pattern(), c.format, c.bytes, plain.data(), screenWidth * c.bytes, screenWidth,
                                      screenHeight, Placement{}));
        const uint8_t zero[4] = {};
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                const uint8_t* seen = &surface[static_cast<size_t>(y) * pitch + x * c.bytes];
                const int32_t px = (x - placement.x) / 2, py = (y - placement.y) / 2;
                const bool inside = x >= placement.x && y >= placement.y && px < screenWidth && py < screenHeight;
                const uint8_t* expected = inside ? &plain[(static_cast<size_t>(py) * screenWidth + px) * c.bytes] : zero;
                ASSERT_EQ(std::memcmp(seen, expected, c.bytes), 0) << c.name << " at " << x << "," << y;
            }
            for (int32_t b = width * c.bytes; b < pitch; ++b)
                ASSERT_EQ(surface[static_cast<size_t>(y) * pitch + b], untouched) << c.name;
        }
    }
}

TEST(ScaledConverter, AtScaleOneOnA320x240SurfaceItIsThePlainConverter) {
    for (const Case& c : formats) {
        const int32_t pitch = screenWidth * c.bytes + 12;
        std::vector<uint8_t> scaled(static_cast<size_t>(pitch) * screenHeight, untouched), plain = scaled;
        ScaledConverter converter;
        ASSERT_TRUE(converter.convert(pattern(), c.format, c.bytes, scaled.data(), pitch, screenWidth, screenHeight,
                                      Placement{}));
        presentWith(ConverterPath::Portable, c.bytes, pattern(), c.format, plain.data(), pitch);
        EXPECT_EQ(scaled, plain) << c.name;
    }
}

TEST(ScaledConverter, APictureThatDoesNotFitWritesNothing) {
    const PixelFormat& format = formats[0].format;
    std::vector<uint8_t> surface(1024 * 4 * 768, untouched);
    ScaledConverter converter;
    const Placement outside[] = {
        {0, 0, 4},    // 1280x960 on 1024x768
        {100, 0, 3},  // reaches past the right edge
        {-1, 0, 1},
        {0, 0, 0},
    };
    for (const Placement& p : outside)
        EXPECT_FALSE(converter.convert(pattern(), format, 4, surface.data(), 1024 * 4, 1024, 768, p)) << p.x << " " << p.scale;
    EXPECT_FALSE(converter.convert(pattern(), format, 4, surface.data(), 1000 * 4, 1024, 768, {0, 0, 1}));  // pitch too short
    for (uint8_t byte : surface) ASSERT_EQ(byte, untouched);
}

}  // namespace
