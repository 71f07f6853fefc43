#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/effects_test_support.h"
#include "effects/wave_warp.h"
#include "wire3d/math3d.h"

using namespace effects_test;

namespace {

// The warp pixel by pixel as written, for seconds >= 0 and |amplitude| <= 240.
std::vector<uint8_t> referenceWarp(const Image& source, float seconds, float amplitude) {
    Image out;
    int p = static_cast<int>(seconds * 10.0);
    for (int r = 0; r < 240; ++r) {
        int h = static_cast<int>(amplitude * static_cast<double>(cosTable[(r + p) % 255]) * 0.5 + 320);
        for (int q = 0; q < 320; ++q) {
            int v = static_cast<int>(amplitude * static_cast<double>(cosTable[(q + p) % 255]) + r + 240);
            setPixel(out, q + r * 320, pixel(source, (q + h) % 319 + (v % 239) * 320));
        }
    }
    return bytesOf(out);
}

struct WaveWarpTest : ::testing::Test {
    Image source, target;
    void SetUp() override {
        fillAngleTables();
        fillRandom(source, 11);
    }
    uint32_t at(int q, int r) const { return pixel(target, q + 320 * r); }
    uint32_t sourceAt(int column, int row) const { return pixel(source, column + 320 * row); }
};

}  // namespace

TEST_F(WaveWarpTest, AmplitudeZeroMovesThePictureOneLeftAndOneUpWithWrap) {
    for (float seconds : {0.0f, 3.7f, 99.0f}) {
        waveWarp(target, source, seconds, 0.0f);
        for (int r = 0; r < 240; ++r) {
            int row = r <= 237 ? r + 1 : r - 238;
            for (int q = 0; q < 320; ++q) ASSERT_EQ(at(q, r), sourceAt(q <= 317 ? q + 1 : q - 318, row)) << q << "," << r;
        }
    }
}

TEST_F(WaveWarpTest, WavePositionSteppingAndTheWorkedExamples) {
    std::vector<uint8_t> early, later;
    waveWarp(target, source, 0.05f, 60.0f);
    early = bytesOf(target);
    waveWarp(target, source, 0.09f, 60.0f);
    EXPECT_EQ(bytesOf(target), early);
    waveWarp(target, source, 0.1f, 60.0f);
    EXPECT_NE(bytesOf(target), early);

    waveWarp(target, source, 0.0f, 100.0f);  // row 0 uses cosTable[0] = 1: h = 370
    EXPECT_EQ(at(0, 0), sourceAt(51, 101));
    waveWarp(target, source, 25.45f, 100.0f);  // p = 254: row 1 uses entry (1 + 254) mod 255 = 0
    int v = static_cast<int>(100.0 * cosTable[254] + 1 + 240);
    EXPECT_EQ(at(0, 1), sourceAt(51, v % 239));
}

TEST_F(WaveWarpTest, MatchesTheFormulasOverManyAmplitudesAndTimes) {
    std::mt19937 random(5);
    std::vector<float> amplitudes = {240.0f, -240.0f, 1e-20f, -1e-20f, 1e-38f, -1e-45f, 0.015f, -0.015f};
    float showAmplitude = 0.0f;  // the way the show grows it
    for (int frame = 0; frame < 40; ++frame) amplitudes.push_back(showAmplitude = static_cast<float>(showAmplitude + (frame % 3 + 16) * 0.015f));
    for (int i = 0; i < 30; ++i) amplitudes.push_back(std::uniform_real_distribution<float>(-240.0f, 240.0f)(random));
    // Amplitudes whose product with a table entry falls just below a whole
    // number: the case that needs the exact row computation.
    for (int c = 1; c < 255 && amplitudes.size() < 120; c += 7) {
        for (int whole = -3; whole <= 3; ++whole) {
            float a = static_cast<float>(whole / static_cast<double>(cosTable[c]));
            for (float candidate : {std::nextafter(a, -1e9f), a, std::nextafter(a, 1e9f)}) {
                double x = candidate * static_cast<double>(cosTable[c]);
                if (std::fabs(candidate) <= 240 && x != std::floor(x) && std::ceil(x) - x < 1e-6) amplitudes.push_back(candidate);
            }
        }
    }
    for (size_t i = 0; i < amplitudes.size(); ++i) {
        float seconds = std::uniform_real_distribution<float>(0.0f, 100.0f)(random);
        waveWarp(target, source, seconds, amplitudes[i]);
        ASSERT_EQ(bytesOf(target), referenceWarp(source, seconds, amplitudes[i])) << amplitudes[i] << " at " << seconds;
    }
}

// Outside the ranges the formulas are made for, nothing is read or written
// outside the images: amplitudes are held to +-240, a bad source gives black
// colour bytes, a target of another size is left alone.
TEST_F(WaveWarpTest, OutOfRangeInputsAndOddSizesStayInside) {
    waveWarp(target, source, 1.0f, 1e30f);
    EXPECT_EQ(bytesOf(target), referenceWarp(source, 1.0f, 240.0f));
    waveWarp(target, source, -0.05f, 100.0f);  // trunc(-0.5) = 0
    EXPECT_EQ(bytesOf(target), referenceWarp(source, 0.0f, 100.0f));
    for (float seconds : {-7.3f, NAN, INFINITY, 3e9f}) waveWarp(target, source, seconds, -1000.0f);
    waveWarp(target, source, 2.0f, NAN);
    EXPECT_EQ(bytesOf(target), referenceWarp(source, 2.0f, 0.0f));

    Image missing(0, 0), small(10, 10);
    fillRandom(target, 12);
    std::vector<uint8_t> before = bytesOf(target);
    waveWarp(target, missing, 1.0f, 5.0f);
    for (int32_t i = 0; i < 4 * target.count(); ++i) ASSERT_EQ(target.pixels[i], i % 4 == 3 ? before[i] : 0);
    waveWarp(target, small, 1.0f, 5.0f);
    waveWarp(small, source, 1.0f, 5.0f);
    EXPECT_EQ(bytesOf(small), std::vector<uint8_t>(400, 0));
}
