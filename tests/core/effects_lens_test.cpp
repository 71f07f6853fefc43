#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/effects_test_support.h"
#include "effects/lens.h"

using namespace effects_test;

namespace {

int64_t wrap(int64_t value, int64_t m) { return ((value % m) + m) % m; }

// The lens as written, with its own fields: a stamp clipped on every side, then
// every screen index in order, both indices reduced modulo the counts.
void referenceApply(const Lens& lens, Image& destination, const Image& source, int x, int y) {
    std::vector<int> dx(76800, 0), dy(76800, 0);
    for (int j = 0; j < 100; ++j) {
        for (int k = 0; k < 100; ++k) {
            if (x + k >= 0 && x + k < 320 && y + j >= 0 && y + j < 240) {
                dx[(y + j) * 320 + x + k] = lens.dxTable[100 * j + k];
                dy[(y + j) * 320 + x + k] = lens.dyTable[100 * j + k];
            }
        }
    }
    for (int p = 0; p < 76800; ++p) {
        setPixel(destination, p % destination.count(), pixel(source, static_cast<int32_t>(wrap(p + dx[p] + 320 * dy[p], source.count()))));
    }
}

bool fieldsAreZero(const Lens& lens) {
    return std::all_of(lens.dxAccum, lens.dxAccum + screenPixels, [](int8_t v) { return v == 0; }) &&
           std::all_of(lens.dyAccum, lens.dyAccum + screenPixels, [](int8_t v) { return v == 0; });
}

struct LensTest : ::testing::Test {
    Lens lens;
    Image source, destination;
    void SetUp() override {
        fillRandom(source, 41);
        fillRandom(destination, 42);
    }
    // Displacement at offset (X, Y) from the centre.
    std::pair<int, int> table(int X, int Y) const { return {lens.dxTable[(Y + 50) * 100 + X + 50], lens.dyTable[(Y + 50) * 100 + X + 50]}; }
    // Both images checked against the reference after one call.
    void expectLikeReference(Image& to, const Image& from, int x, int y) {
        Image expected(to.width, to.height);
        std::copy(to.pixels, to.pixels + 4 * to.count(), expected.pixels);
        referenceApply(lens, expected, &from == &to ? expected : from, x, y);
        lens.apply(to, from, x, y);
        EXPECT_EQ(bytesOf(to), bytesOf(expected)) << x << "," << y;
        EXPECT_TRUE(fieldsAreZero(lens)) << x << "," << y;
    }
};

}  // namespace

TEST_F(LensTest, TableSamplesAndRange) {
    using P = std::pair<int, int>;
    EXPECT_EQ(table(1, 0), P(2, 0));
    EXPECT_EQ(table(-1, 0), P(-2, 0));
    EXPECT_EQ(table(3, 4), P(6, 8));
    EXPECT_EQ(table(10, 0), P(19, 0));
    EXPECT_EQ(table(25, 0), P(33, 0));
    EXPECT_EQ(table(0, -25), P(0, -33));
    EXPECT_EQ(table(49, 0), P(2, 0));
    EXPECT_EQ(table(-50, 0), P(0, 0));
    EXPECT_EQ(table(30, 40), P(0, 0));
    EXPECT_EQ(table(0, 0), P(0, 0));
    EXPECT_EQ(*std::max_element(lens.dxTable, lens.dxTable + 10000), 33);
    EXPECT_EQ(*std::min_element(lens.dyTable, lens.dyTable + 10000), -33);
}

TEST_F(LensTest, PushesOutwardAroundTheCentreAndCopiesElsewhere) {
    const int x = 100, y = 70, cx = x + 50, cy = y + 50;
    lens.apply(destination, source, x, y);
    EXPECT_TRUE(fieldsAreZero(lens));
    auto at = [](const Image& image, int px, int py) { return pixel(image, px + 320 * py); };
    EXPECT_EQ(at(destination, cx + 10, cy), at(source, cx + 29, cy));
    EXPECT_EQ(at(destination, cx, cy - 25), at(source, cx, cy - 58));
    EXPECT_EQ(at(destination, cx, cy), at(source, cx, cy));
    EXPECT_EQ(at(destination, cx - 50, cy), at(source, cx - 50, cy));
    for (int p = 0; p < 76800; ++p) {
        int px = p % 320, py = p / 320;
        bool outside = px < x || px >= x + 100 || py < y || py >= y + 100;
        if (outside) {
            ASSERT_EQ(pixel(destination, p), pixel(source, p)) << px << "," << py;
        }
    }
    std::vector<uint8_t> first = bytesOf(destination);
    lens.apply(destination, source, x, y);
    EXPECT_EQ(bytesOf(destination), first);  // nothing builds up between calls
}

TEST_F(LensTest, MatchesTheReferenceAtEveryKindOfPosition) {
    // Inside, past the right and bottom edges (the linear index runs on into the
    // next row and wraps past the last pixel), past the left and top edges,
    // wholly off the screen, and the extreme corners.
    const int positions[][2] = {{46, 24}, {174, 56}, {110, 40}, {221, 141}, {300, 200}, {319, 239}, {220, 140},
                                {-30, 10}, {10, -45}, {-99, -99}, {-100, 0}, {320, 0}, {0, 240}, {INT32_MIN, INT32_MAX}};
    for (auto& position : positions) expectLikeReference(destination, source, position[0], position[1]);
}

TEST_F(LensTest, OtherImageSizesAndAnImageOntoItselfFollowTheLinearIndex) {
    Image smallSource(37, 29), smallDestination(100, 50), large(400, 300);
    fillRandom(smallSource, 43);
    fillRandom(large, 44);
    expectLikeReference(destination, smallSource, 150, 100);
    expectLikeReference(smallDestination, source, 150, 100);
    expectLikeReference(large, source, 60, 30);
    Image same;
    fillRandom(same, 45);
    expectLikeReference(same, same, 120, 90);

    Image empty(0, 0);
    std::vector<uint8_t> before = bytesOf(destination);
    lens.apply(destination, empty, 100, 100);
    lens.apply(empty, source, 100, 100);
    EXPECT_EQ(bytesOf(destination), before);
    EXPECT_TRUE(fieldsAreZero(lens));
}

// Every position the show gives the lens, and every position where the lens
// covers a corner of the screen, where displacements run off the first or the
// last row. The sanitizer build catches any read outside the source.
TEST_F(LensTest, StaysInsideItsImagesOverTheShowsPathAndEveryCorner) {
    struct Area { int x0, x1, y0, y1; };
    const Area areas[] = {{46, 174, 24, 56}, {-99, 0, -99, 0}, {220, 319, -99, 0}, {-99, 0, 140, 239}, {220, 319, 140, 239}};
    for (const Area& area : areas) {
        for (int y = area.y0; y <= area.y1; ++y) {
            for (int x = area.x0; x <= area.x1; ++x) lens.apply(destination, source, x, y);
        }
    }
    EXPECT_TRUE(fieldsAreZero(lens));
    // Here a displacement lands exactly one past the last pixel and wraps to the first.
    expectLikeReference(destination, source, 255, 127);
}
