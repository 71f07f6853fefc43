#include <gtest/gtest.h>

#include <vector>

#include "core/effects_test_support.h"
#include "effects/masked_cross_fade.h"
#include "support/test_data.h"
#include "support/test_files.h"

using namespace effects_test;

namespace {

// The blend pixel by pixel as written, at the offsets the frame is drawn with.
std::vector<uint8_t> referenceBlend(const MaskedCrossFade& fade, const Image& target, int scrollX, int scrollY) {
    std::vector<uint8_t> out = bytesOf(target);
    for (int x = 0; x < 320; ++x) {
        for (int y = 0; y < 240; ++y) {
            int mx = x + scrollX >= 320 ? x + scrollX - 320 : x + scrollX;
            int my = y + scrollY >= 240 ? y + scrollY - 240 : y + scrollY;
            int w = fade.mask->pixels[4 * (mx + my * 320) + 2];
            for (int k = 2; k >= 0; --k) {
                int i = 4 * (x + y * 320) + k;
                out[i] = static_cast<uint8_t>((fade.second->pixels[i] * (255 - w) + fade.first->pixels[i] * w) / 255);
            }
        }
    }
    return out;
}

// A cross-fade over three missing files: black pictures to fill in.
struct CrossFadeTest : ::testing::Test {
    MaskedCrossFade* fade = nullptr;
    Image target;
    void SetUp() override {
        MessageLog messages;
        fade = new MaskedCrossFade("no-first.pcx", "no-second.pcx", "no-mask.pcx", ShowContext(messages));
        warnings = messages.warnings;
        fillRandom(target, 21);
    }
    void TearDown() override { delete fade; }
    void fillMask(uint8_t red) {
        for (int32_t i = 0; i < fade->mask->count(); ++i) fade->mask->pixels[4 * i + 2] = red;
    }
    std::string warnings;
};

}  // namespace

TEST_F(CrossFadeTest, MissingPicturesAreWarnedAboutAndDrawnBlack) {
    EXPECT_EQ(warnings, "missing picture: no-first.pcx\nmissing picture: no-second.pcx\nmissing picture: no-mask.pcx\n");
    ASSERT_TRUE(fade->first->isScreenSized() && fade->second->isScreenSized() && fade->mask->isScreenSized());
    std::vector<uint8_t> before = bytesOf(target);
    fade->render(target);
    for (int32_t i = 0; i < 4 * target.count(); ++i) ASSERT_EQ(target.pixels[i], i % 4 == 3 ? before[i] : 0);
}

TEST(CrossFade, APictureOfAnotherSizeIsReplacedByBlack) {
    TempDir dir;
    std::string name = dir.write("small.pcx", makePcx(4, 3, [](int, int) { return 0xC86432u; }));
    MessageLog messages;
    MaskedCrossFade fade(name.c_str(), name.c_str(), name.c_str(), ShowContext(messages));
    std::string line = "picture " + name + " reads as 4x3, not 320x240; vokkit check tells why\n";
    EXPECT_EQ(messages.warnings, line + line + line);
    EXPECT_TRUE(fade.mask->isScreenSized());
    EXPECT_EQ(pixel(*fade.first, 0), 0u);
}

TEST_F(CrossFadeTest, OffsetsAdvanceBeforeDrawingAndWrap) {
    EXPECT_EQ(fade->scrollX, 0);
    EXPECT_EQ(fade->scrollY, 0);
    fade->render(target);
    EXPECT_EQ(fade->scrollX, 4);
    EXPECT_EQ(fade->scrollY, 4);
    for (int call = 2; call <= 80; ++call) {
        fade->render(target);
        if (call == 59) {
            EXPECT_EQ(fade->scrollY, 236);
        } else if (call == 60) {
            EXPECT_EQ(fade->scrollY, 0);
        } else if (call == 79) {
            EXPECT_EQ(fade->scrollX, 316);
        }
    }
    EXPECT_EQ(fade->scrollX, 0);

    fade->mask->pixels[4 * (6 + 6 * 320) + 2] = 255;  // only mask pixel (6, 6) is bright
    fade->first->pixels[4 * (10 + 10 * 320) + 1] = 77;
    fade->scrollX = 312, fade->scrollY = 232;         // the frame is drawn with (316, 236)
    fade->render(target);
    EXPECT_EQ(target.pixels[4 * (10 + 10 * 320) + 1], 77);
}

TEST_F(CrossFadeTest, FullWeightsGiveOnePictureAndMixedWeightsTruncate) {
    fillRandom(*fade->first, 22);
    fillRandom(*fade->second, 23);
    std::vector<uint8_t> before = bytesOf(target);
    fillMask(255);
    fade->render(target);
    for (int32_t i = 0; i < 4 * target.count(); ++i) ASSERT_EQ(target.pixels[i], i % 4 == 3 ? before[i] : fade->first->pixels[i]);
    fillMask(0);
    fade->render(target);
    for (int32_t i = 0; i < 4 * target.count(); ++i) ASSERT_EQ(target.pixels[i], i % 4 == 3 ? before[i] : fade->second->pixels[i]);

    fade->first->pixels[0] = 255, fade->second->pixels[0] = 0;
    fade->first->pixels[1] = 100, fade->second->pixels[1] = 200;
    fillMask(128);
    fade->render(target);
    EXPECT_EQ(target.pixels[0], 128);
    fillMask(51);
    fade->render(target);
    EXPECT_EQ(target.pixels[1], 180);
}

// Every (first, second, weight) triple: each frame holds all 65,536 byte pairs
// under one weight.
TEST_F(CrossFadeTest, EveryByteTripleDividesExactly) {
    for (int32_t slot = 0; slot < 3 * 65536; ++slot) {
        int32_t i = 4 * (slot / 3) + slot % 3, pair = slot % 65536;
        fade->first->pixels[i] = static_cast<uint8_t>(pair);
        fade->second->pixels[i] = static_cast<uint8_t>(pair >> 8);
    }
    for (int w = 0; w < 256; ++w) {
        fillMask(static_cast<uint8_t>(w));
        fade->render(target);
        int wrong = 0;
        for (int32_t i = 0; i < 4 * 65536; ++i) {
            if (i % 4 == 3) continue;
            wrong += target.pixels[i] != (fade->second->pixels[i] * (255 - w) + fade->first->pixels[i] * w) / 255;
        }
        ASSERT_EQ(wrong, 0) << "weight " << w;
    }
}

TEST_F(CrossFadeTest, ScrolledFramesMatchTheFormulaAndOddOffsetsStayInside) {
    fillRandom(*fade->first, 24);
    fillRandom(*fade->second, 25);
    fillRandom(*fade->mask, 26);
    for (int frame = 0; frame < 90; ++frame) {
        int x = fade->scrollX + 4 == 320 ? 0 : fade->scrollX + 4, y = fade->scrollY + 4 == 240 ? 0 : fade->scrollY + 4;
        std::vector<uint8_t> expected = referenceBlend(*fade, target, x, y);
        fade->render(target);
        ASSERT_EQ(bytesOf(target), expected) << frame;
    }
    // Offsets set from outside are taken modulo the screen.
    fade->scrollX = 1 - 4, fade->scrollY = 1000 - 4;
    std::vector<uint8_t> expected = referenceBlend(*fade, target, 1, 1000 % 240);
    fade->render(target);
    EXPECT_EQ(bytesOf(target), expected);
    Image small(8, 8);
    fade->render(small);
    EXPECT_EQ(bytesOf(small), std::vector<uint8_t>(256, 0));
}
