#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/effects_test_support.h"
#include "effects/fader.h"

using namespace effects_test;

namespace {

// The fade byte by byte as written: factor in double, clamped above at 1,
// stored as float; every colour byte trunc(byte * factor).
std::vector<uint8_t> referenceFade(const Image& destination, const Image& source, float start, float end, float t) {
    double linear = (static_cast<double>(t) - start) / (static_cast<double>(end) - start);
    float factor = static_cast<float>(linear > 1.0 ? 1.0 : linear);
    std::vector<uint8_t> out = bytesOf(destination);
    for (int32_t i = source.count() - 1; i >= 0; --i) {
        for (int k = 2; k >= 0; --k) out[4 * i + k] = static_cast<uint8_t>(static_cast<int>(source.pixels[4 * i + k] * static_cast<double>(factor)));
    }
    return out;
}

struct FaderTest : ::testing::Test {
    Image source, destination;
    void SetUp() override {
        fillRandom(source, 1);
        fillRandom(destination, 2);
    }
};

}  // namespace

TEST_F(FaderTest, StartGivesBlackHalfwayHalvesEndCopiesAndFourthBytesStay) {
    Fader fader(destination, source, 0.0f, 5.5f);
    std::vector<uint8_t> before = bytesOf(destination);
    fader.update(0.0f);
    EXPECT_EQ(fader.factor, 0.0f);
    for (int32_t i = 0; i < source.count(); ++i) {
        ASSERT_EQ(pixel(destination, i), static_cast<uint32_t>(before[4 * i + 3]) << 24) << i;
    }
    fader.update(2.75f);
    EXPECT_EQ(fader.factor, 0.5f);
    source.pixels[0] = 255, source.pixels[1] = 1;
    fader.update(2.75f);
    EXPECT_EQ(destination.pixels[0], 127);
    EXPECT_EQ(destination.pixels[1], 0);
    fader.update(9.0f);
    EXPECT_EQ(fader.factor, 1.0f);
    for (int32_t i = 0; i < 4 * source.count(); ++i) ASSERT_EQ(destination.pixels[i], i % 4 == 3 ? before[i] : source.pixels[i]);
}

TEST_F(FaderTest, MatchesTheByteFormulaOverTheWholeFade) {
    Image odd(13, 7), oddTarget(13, 7);  // a pixel count that is not a multiple of 4
    fillRandom(odd, 3);
    const float start = 1.25f, end = 6.75f;
    Fader fader(destination, source, start, end);
    Fader oddFader(oddTarget, odd, start, end);
    for (float t = start; t < end + 0.5f; t += 0.0473f) {
        std::vector<uint8_t> expected = referenceFade(destination, source, start, end, t);
        fader.update(t);
        ASSERT_EQ(bytesOf(destination), expected) << t;
        expected = referenceFade(oddTarget, odd, start, end, t);
        oddFader.update(t);
        ASSERT_EQ(bytesOf(oddTarget), expected) << t;
    }
}

TEST(Fader, EveryByteAtManyFactorsIncludingTinyOnes) {
    Image source(256, 1), destination(256, 1);
    for (int b = 0; b < 256; ++b) source.pixels[4 * b] = source.pixels[4 * b + 1] = source.pixels[4 * b + 2] = static_cast<uint8_t>(b);
    Fader fader(destination, source, 0.0f, 1.0f);
    std::mt19937 random(7);
    std::vector<float> factors = {1e-30f, 1e-45f, 0x1p-8f, 0x1p-7f, 0.999999940f, 0.5f + 0x1p-24f, 1.0f / 255, 254.0f / 255};
    for (int i = 0; i < 20000; ++i) factors.push_back(std::uniform_real_distribution<float>(0.0f, 1.0f)(random));
    for (float f : factors) {
        fader.update(f);
        ASSERT_EQ(fader.factor, f);
        int wrong = 0;
        for (int b = 0; b < 256; ++b) wrong += destination.pixels[4 * b + 1] != static_cast<int>(b * static_cast<double>(f));
        ASSERT_EQ(wrong, 0) << f;
    }
}

TEST(Fader, TouchesOnlyThePixelsBothImagesHave) {
    Image empty(0, 0), small(5, 3), target;
    fillRandom(small, 4);
    fillRandom(target, 5);
    std::vector<uint8_t> before = bytesOf(target);
    Fader(target, empty, 0.0f, 1.0f).update(1.0f);
    EXPECT_EQ(bytesOf(target), before);
    Fader(target, small, 0.0f, 1.0f).update(1.0f);
    for (int32_t i = 15 * 4; i < 4 * target.count(); ++i) ASSERT_EQ(target.pixels[i], before[i]);
    Image bigSource;
    Fader(small, bigSource, 0.0f, 1.0f).update(1.0f);  // only the 15 pixels of the destination
    EXPECT_EQ(pixel(small, 14) & 0xFFFFFFu, 0u);
}

// Before `start` the factor is negative and kept (no lower clamp); the bytes are
// the low eight bits of the truncated products. A start equal to the end gives
// no number at all; the colour bytes then become 0.
TEST_F(FaderTest, FactorsOutsideTheFadeStayDefined) {
    Fader early(destination, source, 2.0f, 3.0f);
    early.update(1.5f);
    EXPECT_EQ(early.factor, -0.5f);
    EXPECT_EQ(bytesOf(destination), referenceFade(destination, source, 2.0f, 3.0f, 1.5f));
    Fader flat(destination, source, 2.0f, 2.0f);
    flat.update(2.0f);
    EXPECT_TRUE(std::isnan(flat.factor));
    for (int32_t i = 0; i < source.count(); ++i) ASSERT_EQ(pixel(destination, i) & 0xFFFFFFu, 0u);
}
