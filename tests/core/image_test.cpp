#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "image/image.h"

namespace {

using Points = std::vector<std::pair<int, int>>;

// Every pixel of the image whose word is not zero, in row order.
Points litPixels(const Image& image) {
    Points lit;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (image.pixelAt(x, y) != 0) lit.emplace_back(x, y);
        }
    }
    return lit;
}

Points sorted(Points points) {
    std::set<std::pair<int, int>> unique(points.begin(), points.end());
    return Points(unique.begin(), unique.end());
}

// Sorted by row, then column, the order litPixels reports.
Points rowOrder(Points points) {
    std::set<std::pair<int, int>> unique;
    for (auto& p : points) unique.emplace(p.second, p.first);
    Points result;
    for (auto& p : unique) result.emplace_back(p.second, p.first);
    return result;
}

void setPixel(Image& image, int x, int y, uint32_t word) {
    std::memcpy(image.pixels + 4 * (x + y * image.width), &word, 4);
}

void fillPattern(Image& image, uint32_t seed) {
    uint32_t state = seed;
    for (int i = 0; i < image.count() * 4; ++i) {
        state = state * 1664525u + 1013904223u;
        image.pixels[i] = static_cast<uint8_t>(state >> 24);
    }
}

}  // namespace

// ---------------------------------------------------------------- construction

TEST(ImageConstruction, DefaultIsScreenSizedAndZero) {
    Image image;
    EXPECT_EQ(image.width, 320);
    EXPECT_EQ(image.height, 240);
    EXPECT_EQ(image.count(), 76800);
    ASSERT_NE(image.pixels, nullptr);
    std::vector<uint8_t> zero(307200, 0);
    EXPECT_EQ(std::memcmp(image.pixels, zero.data(), zero.size()), 0);
}

TEST(ImageConstruction, SizedImageIsZeroAndHasWidthTimesHeightPixels) {
    Image image(7, 3);
    EXPECT_EQ(image.width, 7);
    EXPECT_EQ(image.height, 3);
    EXPECT_EQ(image.count(), 21);
    for (int i = 0; i < 21 * 4; ++i) EXPECT_EQ(image.pixels[i], 0) << i;
}

TEST(ImageConstruction, ZeroByZeroIsEmpty) {
    Image image(0, 0);
    EXPECT_EQ(image.count(), 0);
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.height, 0);
}

TEST(ImageConstruction, NegativeSizeGivesEmptyImage) {
    Image image(-4, 10);
    EXPECT_EQ(image.count(), 0);
    EXPECT_EQ(image.width, 0);
}

TEST(ImageConstruction, SizeTooLargeToAddressGivesEmptyImage) {
    Image image(65536, 65536);
    EXPECT_EQ(image.count(), 0);
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.height, 0);
    image.clear(0xFF);
    EXPECT_EQ(image.drawLine(0, 0, 3, 3, 0xFFFFFFFFu), 1);
}

TEST(ImageConstruction, ReleaseTwiceFreesNothingAndLeavesNull) {
    Image image(4, 4);
    image.release();
    EXPECT_EQ(image.pixels, nullptr);
    image.release();
    EXPECT_EQ(image.pixels, nullptr);
}

TEST(ImageConstruction, ReleaseThenDeleteAsOwnersDo) {
    Image* image = new Image(8, 8);
    image->release();
    delete image;  // under ASan: no double free
}

// ---------------------------------------------------------------- copyFrom

TEST(ImageCopyFrom, EmptyIntoEmptyReturnsOne) {
    Image a(0, 0), b(0, 0);
    EXPECT_EQ(a.copyFrom(b), 1);
}

TEST(ImageCopyFrom, ScreenImageIntoEmptyReturnsZero) {
    Image empty(0, 0);
    Image screen;
    screen.clear(0x55);
    EXPECT_EQ(empty.copyFrom(screen), 0);
    EXPECT_EQ(empty.count(), 0);
}

TEST(ImageCopyFrom, EmptySourceLeavesImageUnchanged) {
    Image screen;
    screen.clear(0x42);
    Image empty(0, 0);
    EXPECT_EQ(screen.copyFrom(empty), 0);
    for (int i = 0; i < screenBytes; i += 997) EXPECT_EQ(screen.pixels[i], 0x42);
}

TEST(ImageCopyFrom, CopiesEveryByteIncludingTheFourth) {
    Image source, target;
    fillPattern(source, 7);
    EXPECT_EQ(target.copyFrom(source), 1);
    EXPECT_EQ(std::memcmp(target.pixels, source.pixels, screenBytes), 0);
}

TEST(ImageCopyFrom, ComparesPixelCountsOnly) {
    Image portrait(240, 320);
    fillPattern(portrait, 11);
    Image landscape;
    EXPECT_EQ(landscape.copyFrom(portrait), 1);
    EXPECT_EQ(std::memcmp(landscape.pixels, portrait.pixels, screenBytes), 0);
}

// ---------------------------------------------------------------- clear

TEST(ImageClear, UsesTheLowByteForEveryByte) {
    Image image(5, 3);
    image.clear(0x1FF);
    for (int i = 0; i < image.count() * 4; ++i) EXPECT_EQ(image.pixels[i], 0xFF) << i;
    image.clear(0x12345600);
    for (int i = 0; i < image.count() * 4; ++i) EXPECT_EQ(image.pixels[i], 0x00) << i;
    image.clear(-2);
    EXPECT_EQ(image.pixelAt(4, 2), 0xFEFEFEFEu);
}

TEST(ImageClear, EmptyImageIsHarmless) {
    Image image(0, 0);
    image.clear(0xAB);
    EXPECT_EQ(image.count(), 0);
}

// ---------------------------------------------------------------- addSaturate

TEST(ImageAddSaturate, ClampsEachChannelAndKeepsTheFourthByte) {
    Image target(1, 1), source(1, 1);
    setPixel(target, 0, 0, 0x7A006450);   // byte3 0x7A, red 0, green 0x64, blue 0x50
    setPixel(source, 0, 0, 0x33C8C800);   // byte3 0x33, red 200, green 200, blue 0
    target.addSaturate(source);
    // red 0 + 200 = 200, green 100 + 200 clamps at 255, blue 0x50 + 0 stays.
    EXPECT_EQ(target.pixelAt(0, 0), 0x7AC8FF50u);
}

TEST(ImageAddSaturate, RedTwoHundredOntoOneHundredGivesFull) {
    Image target(1, 1), source(1, 1);
    setPixel(target, 0, 0, 0x00640000);
    setPixel(source, 0, 0, 0x00C80000);
    target.addSaturate(source);
    EXPECT_EQ(target.pixelAt(0, 0), 0x00FF0000u);
}

TEST(ImageAddSaturate, ZeroOntoZeroStaysZero) {
    Image target(3, 3), source(3, 3);
    target.addSaturate(source);
    EXPECT_TRUE(litPixels(target).empty());
}

// The fast path works on groups of pixels; every size and every value must
// give what the per-byte rule gives.
TEST(ImageAddSaturate, MatchesThePerByteRuleOnOddSizes) {
    for (int width : {1, 3, 5, 7, 13, 320}) {
        Image target(width, 3), source(width, 3);
        fillPattern(target, 100 + width);
        fillPattern(source, 200 + width);
        std::vector<uint8_t> expected(target.pixels, target.pixels + target.count() * 4);
        for (int i = 0; i < target.count(); ++i) {
            for (int k = 0; k < 3; ++k) {
                int sum = expected[4 * i + k] + source.pixels[4 * i + k];
                expected[4 * i + k] = static_cast<uint8_t>(sum > 255 ? 255 : sum);
            }
        }
        target.addSaturate(source);
        EXPECT_EQ(std::memcmp(target.pixels, expected.data(), expected.size()), 0) << "width " << width;
    }
}

TEST(ImageAddSaturate, SmallerSourceAddsOnlyThePixelsItHas) {
    Image target(4, 2), source(3, 1);
    source.clear(0x10);
    target.addSaturate(source);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(target.pixelAt(i, 0), 0x00101010u) << i;
    EXPECT_EQ(target.pixelAt(3, 0), 0u);
    EXPECT_EQ(target.pixelAt(0, 1), 0u);
}

TEST(ImageAddSaturate, EmptySourceAddsNothing) {
    Image target;
    Image empty(0, 0);
    target.addSaturate(empty);
    EXPECT_TRUE(litPixels(target).empty());
}

TEST(ImageAddSaturate, LargerSourceAddsOnlyThisImagesCount) {
    Image target(2, 1), source(4, 4);
    source.clear(0x01);
    target.addSaturate(source);
    EXPECT_EQ(target.pixelAt(0, 0), 0x00010101u);
    EXPECT_EQ(target.pixelAt(1, 0), 0x00010101u);
}

// ---------------------------------------------------------------- addBlit

namespace {

// A source whose pixel (u, v) has red u + 1, green v + 1, blue 1 and byte 3 set.
Image* gradientSource(int width, int height) {
    Image* source = new Image(width, height);
    for (int v = 0; v < height; ++v) {
        for (int u = 0; u < width; ++u) setPixel(*source, u, v, 0xEE000001u | (u + 1) << 16 | (v + 1) << 8);
    }
    return source;
}

uint32_t gradientPixel(int u, int v) { return static_cast<uint32_t>((u + 1) << 16 | (v + 1) << 8 | 1); }

}  // namespace

TEST(ImageAddBlit, AddsAtTheOffsetAndKeepsTheFourthByte) {
    Image target(10, 10);
    setPixel(target, 3, 4, 0x99000000u);
    Image* source = gradientSource(2, 2);
    target.addBlit(*source, 3, 4);
    EXPECT_EQ(target.pixelAt(3, 4), 0x99000000u | gradientPixel(0, 0));
    EXPECT_EQ(target.pixelAt(4, 4), gradientPixel(1, 0));
    EXPECT_EQ(target.pixelAt(3, 5), gradientPixel(0, 1));
    EXPECT_EQ(target.pixelAt(4, 5), gradientPixel(1, 1));
    EXPECT_EQ(litPixels(target).size(), 4u);
    source->release();
    delete source;
}

TEST(ImageAddBlit, SumsClampAtFull) {
    Image target(2, 1), source(2, 1);
    target.clear(0xF0);
    source.clear(0x20);
    target.addBlit(source, 0, 0);
    EXPECT_EQ(target.pixelAt(0, 0), 0xF0FFFFFFu);
    EXPECT_EQ(target.pixelAt(1, 0), 0xF0FFFFFFu);
}

TEST(ImageAddBlit, NegativeXLeavesOutTheFirstColumns) {
    Image target;
    Image* source = gradientSource(32, 4);
    target.addBlit(*source, -5, 10);
    for (int x = 0; x < 27; ++x) EXPECT_EQ(target.pixelAt(x, 10), gradientPixel(x + 5, 0)) << x;
    EXPECT_EQ(target.pixelAt(27, 10), 0u);
    EXPECT_EQ(litPixels(target).size(), 27u * 4);
    source->release();
    delete source;
}

TEST(ImageAddBlit, RightEdgeAddsOnlyTheColumnsThatFit) {
    Image target;
    Image* source = gradientSource(32, 2);
    target.addBlit(*source, 300, 0);
    for (int u = 0; u < 20; ++u) EXPECT_EQ(target.pixelAt(300 + u, 0), gradientPixel(u, 0)) << u;
    // Nothing spills over onto the next row.
    EXPECT_EQ(target.pixelAt(0, 1), 0u);
    EXPECT_EQ(target.pixelAt(11, 1), 0u);
    EXPECT_EQ(litPixels(target).size(), 20u * 2);
    source->release();
    delete source;
}

TEST(ImageAddBlit, TopAndBottomEdgesClipRows) {
    Image target;
    Image* source = gradientSource(3, 8);
    target.addBlit(*source, 0, -6);
    EXPECT_EQ(target.pixelAt(0, 0), gradientPixel(0, 6));
    EXPECT_EQ(target.pixelAt(2, 1), gradientPixel(2, 7));
    target.clear(0);
    target.addBlit(*source, 317, 236);
    EXPECT_EQ(target.pixelAt(317, 236), gradientPixel(0, 0));
    EXPECT_EQ(target.pixelAt(319, 239), gradientPixel(2, 3));
    EXPECT_EQ(litPixels(target).size(), 12u);
    source->release();
    delete source;
}

TEST(ImageAddBlit, SourceEntirelyOutsideDrawsNothing) {
    Image target;
    Image* source = gradientSource(16, 16);
    for (auto [x, y] : {std::pair{-16, 0}, {320, 0}, {0, -16}, {0, 240}, {-2147483647 - 1, 0}, {2147483647, 2147483647}}) {
        target.addBlit(*source, x, y);
    }
    EXPECT_TRUE(litPixels(target).empty());
    source->release();
    delete source;
}

TEST(ImageAddBlit, EmptySourceOrTargetDrawsNothing) {
    Image target(4, 4);
    Image empty(0, 0);
    target.addBlit(empty, 0, 0);
    EXPECT_TRUE(litPixels(target).empty());
    Image source(4, 4);
    source.clear(0x11);
    empty.addBlit(source, 0, 0);
    EXPECT_EQ(empty.count(), 0);
}

TEST(ImageAddBlit, SourceLargerThanTargetIsClippedOnAllSides) {
    Image target(3, 2);
    Image* source = gradientSource(9, 9);
    target.addBlit(*source, -4, -5);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) EXPECT_EQ(target.pixelAt(x, y), gradientPixel(x + 4, y + 5));
    }
    source->release();
    delete source;
}

// ---------------------------------------------------------------- drawLine

namespace {

constexpr uint32_t white = 0xFFFFFFFFu;

Points drawOnScreen(int x0, int y0, int x1, int y1) {
    Image image;
    EXPECT_EQ(image.drawLine(x0, y0, x1, y1, white), 1);
    return litPixels(image);
}

}  // namespace

TEST(ImageDrawLine, ShallowLineSteps) {
    EXPECT_EQ(drawOnScreen(0, 0, 3, 1), (Points{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
}

TEST(ImageDrawLine, SteepLineSteps) {
    EXPECT_EQ(drawOnScreen(0, 0, 1, 3), (Points{{0, 0}, {0, 1}, {1, 2}, {1, 3}}));
}

TEST(ImageDrawLine, DiagonalIsYMajorAndReachesItsEnd) {
    EXPECT_EQ(drawOnScreen(2, 2, 5, 5), (Points{{2, 2}, {3, 3}, {4, 4}, {5, 5}}));
}

TEST(ImageDrawLine, RightwardLineIncludesBothEnds) {
    Points expected;
    for (int x = 10; x <= 20; ++x) expected.emplace_back(x, 5);
    EXPECT_EQ(drawOnScreen(10, 5, 20, 5), expected);
}

TEST(ImageDrawLine, LeftwardLineEndsOnePixelShort) {
    Points expected;
    for (int x = 11; x <= 20; ++x) expected.emplace_back(x, 5);
    EXPECT_EQ(drawOnScreen(20, 5, 10, 5), expected);
}

TEST(ImageDrawLine, UpwardLineEndsOnePixelShort) {
    Points expected;
    for (int y = 4; y <= 9; ++y) expected.emplace_back(30, y);
    EXPECT_EQ(drawOnScreen(30, 9, 30, 3), expected);
}

// Both differences move toward zero: (-3, -1) becomes (-2, 0).
TEST(ImageDrawLine, UpLeftLineLosesOneOnEachAxis) {
    EXPECT_EQ(drawOnScreen(3, 1, 0, 0), (Points{{1, 1}, {2, 1}, {3, 1}}));
}

TEST(ImageDrawLine, OneStepBackPlotsOnlyTheStart) {
    EXPECT_EQ(drawOnScreen(5, 5, 4, 5), (Points{{5, 5}}));
    EXPECT_EQ(drawOnScreen(5, 5, 4, 4), (Points{{5, 5}}));
}

TEST(ImageDrawLine, SinglePoint) { EXPECT_EQ(drawOnScreen(7, 7, 7, 7), (Points{{7, 7}})); }

TEST(ImageDrawLine, StoresTheWholeColourWord) {
    Image image(4, 4);
    image.drawLine(1, 1, 1, 1, 0xA1B2C3D4u);
    EXPECT_EQ(image.pixels[4 * 5 + 0], 0xD4);
    EXPECT_EQ(image.pixels[4 * 5 + 1], 0xC3);
    EXPECT_EQ(image.pixels[4 * 5 + 2], 0xB2);
    EXPECT_EQ(image.pixels[4 * 5 + 3], 0xA1);
}

TEST(ImageDrawLine, PastTheRightEdgeContinuesOnTheNextRow) {
    Points expected{{0, 6}, {1, 6}, {2, 6}};
    for (int x = 315; x < 320; ++x) expected.emplace_back(x, 5);
    EXPECT_EQ(drawOnScreen(315, 5, 322, 5), rowOrder(expected));
}

TEST(ImageDrawLine, RowBelowTheBottomLandsOnRowZero) {
    EXPECT_EQ(drawOnScreen(12, 240, 12, 240), (Points{{12, 0}}));
    EXPECT_EQ(drawOnScreen(12, 480 + 3, 12, 480 + 3), (Points{{12, 3}}));
}

// A negative start moves toward zero like the differences: -3 starts at -2.
TEST(ImageDrawLine, NegativeLinearPositionsAreSkipped) {
    Image image(10, 10);
    image.drawLine(-3, 0, 2, 0, white);  // x from -2 to 3
    EXPECT_EQ(litPixels(image), (Points{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
    image.clear(0);
    image.drawLine(5, -4, 5, 0, white);  // positions -25, -15, -5, 5, 15
    EXPECT_EQ(litPixels(image), (Points{{5, 0}, {5, 1}}));
}

// A point left of the image on a lower row has a non-negative position and
// wraps onto the row above, like any other linear position.
TEST(ImageDrawLine, LeftOfTheImageOnALowerRowWrapsBack) {
    Image image(10, 10);
    image.drawLine(-2, 1, -2, 1, white);  // starts at (-1, 1), position 9
    EXPECT_EQ(litPixels(image), (Points{{9, 0}}));
}

TEST(ImageDrawLine, ExtremeCoordinatesStayInsideTheArray) {
    Image image(10, 10);
    image.drawLine(2147483647, 2147483647, 2147483647, 2147483647, white);
    image.drawLine(-2147483647 - 1, -2147483647 - 1, -2147483647 - 1, -2147483647 - 1, white);
    image.drawLine(2147483647, -2147483647 - 1, 2147483647, -2147483647 - 1, white);
    // 2147483647 + 2147483647 * 10 = 23622320117, which leaves 17 modulo 100;
    // the other two points have negative positions.
    EXPECT_EQ(litPixels(image), (Points{{7, 1}}));
}

TEST(ImageDrawLine, EmptyImageIsHarmless) {
    Image image(0, 0);
    EXPECT_EQ(image.drawLine(0, 0, 5, 5, white), 1);
}

TEST(ImageDrawLine, LongLineVisitsLongPlusOnePoints) {
    // A line of slope 1/3 from (0, 0) to (299, 100) covers 300 columns, one
    // pixel each, and rises by 100 rows.
    Points lit = drawOnScreen(0, 0, 299, 100);
    EXPECT_EQ(lit.size(), 300u);
    std::set<int> columns;
    for (auto& p : lit) columns.insert(p.first);
    EXPECT_EQ(columns.size(), 300u);
    EXPECT_EQ(sorted(lit).back(), (std::pair<int, int>{299, 100}));
}
