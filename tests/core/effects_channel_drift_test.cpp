#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "common/random.h"
#include "core/effects_test_support.h"
#include "effects/channel_drift.h"
#include "support/test_data.h"
#include "support/test_files.h"

using namespace effects_test;

namespace {

// The drift as written, with a generator of its own seeded like the shared one.
struct ReferenceDrift {
    float offsets[6] = {0, 0, 0, 0, 0, 0};  // redX, redY, greenX, greenY, blueX, blueY
    std::vector<uint8_t> canvas = std::vector<uint8_t>(4 * 76800, 0);
    uint32_t state = 123;

    void render(const Image& picture, std::vector<uint8_t>& target) {
        for (int x = 0; x < 320; ++x) {
            for (int y = 0; y < 240; ++y) {
                for (int channel = 0; channel < 3; ++channel) {  // red, green, blue
                    int cx = x + static_cast<int>(offsets[2 * channel]), cy = y + static_cast<int>(offsets[2 * channel + 1]);
                    int byte = 2 - channel;
                    if (cx >= 0 && cx < 320 && cy >= 0 && cy < 240) canvas[4 * (cx + cy * 320) + byte] = picture.pixels[4 * (x + y * 320) + byte];
                }
            }
        }
        for (int i = 0; i < 4 * 76800; ++i) {
            if (i % 4 != 3) target[i] = canvas[i];
        }
        if (offsets[0] < 500) {
            const int subtrahends[6] = {14, 15, 14, 16, 15, 14};
            for (int i = 0; i < 6; ++i) {
                state = state * 214013u + 2531011u;
                int k = static_cast<int>((state >> 16) & 0x7FFF) % 30;
                offsets[i] = static_cast<float>(offsets[i] + (k - subtrahends[i]) * static_cast<double>(0.1f));
            }
        }
    }
};

struct ChannelDriftTest : ::testing::Test {
    ChannelDrift* drift = nullptr;
    Random prng;
    MessageLog messages;
    Image target;
    void SetUp() override {
        drift = new ChannelDrift("no-picture.pcx", "no-second.pcx", prng, ShowContext(messages));
        warnings = messages.warnings;
        fillRandom(*drift->picture, 31);
        fillRandom(target, 32);
    }
    void TearDown() override { delete drift; }
    void setOffsets(float rx, float ry, float gx, float gy, float bx, float by) {
        drift->redX = rx, drift->redY = ry, drift->greenX = gx, drift->greenY = gy, drift->blueX = bx, drift->blueY = by;
    }
    uint8_t canvasByte(int x, int y, int k) const { return drift->canvas->pixels[4 * (x + 320 * y) + k]; }
    uint8_t pictureByte(int x, int y, int k) const { return drift->picture->pixels[4 * (x + 320 * y) + k]; }
    std::string warnings;
};

}  // namespace

TEST_F(ChannelDriftTest, StartsInRegisterReseededAndKeepsFourthBytes) {
    EXPECT_EQ(warnings, "missing picture: no-picture.pcx\n");  // the second picture is never drawn
    EXPECT_EQ(prng.state, 123u);
    EXPECT_EQ(drift->redX, 0.0f);
    EXPECT_EQ(drift->blueY, 0.0f);
    std::vector<uint8_t> before = bytesOf(target);
    drift->render(target);
    for (int32_t i = 0; i < 4 * target.count(); ++i) {
        ASSERT_EQ(target.pixels[i], i % 4 == 3 ? before[i] : drift->picture->pixels[i]);
        ASSERT_EQ(drift->canvas->pixels[i], i % 4 == 3 ? 0 : drift->picture->pixels[i]);
    }
}

TEST_F(ChannelDriftTest, OffsetsTruncateTowardZero) {
    for (float redX : {2.7f, -1.2f, -0.7f}) {
        int shift = static_cast<int>(redX);
        setOffsets(redX, 0, 0, 0, 0, 0);
        drift->render(target);
        for (int x = 5; x < 315; ++x) ASSERT_EQ(canvasByte(x + shift, 100, 2), pictureByte(x, 100, 2)) << redX;
        EXPECT_EQ(canvasByte(100, 100, 1), pictureByte(100, 100, 1));
    }
}

TEST_F(ChannelDriftTest, RowsNoShiftedCopyReachesKeepTheirEarlierBytes) {
    std::memset(drift->canvas->pixels, 0xAB, 4 * 76800);
    for (int32_t i = 0; i < 76800; ++i) drift->canvas->pixels[4 * i + 3] = 0;
    setOffsets(0, 0, 0, -10, 0, 0);
    drift->render(target);
    for (int x = 0; x < 320; ++x) {
        for (int y = 230; y < 240; ++y) ASSERT_EQ(canvasByte(x, y, 1), 0xAB);
        ASSERT_EQ(canvasByte(x, 229, 1), pictureByte(x, 239, 1));
    }
}

TEST_F(ChannelDriftTest, WalksSixDrawsPerFrameUntilRedReaches500) {
    uint32_t state = prng.state;
    drift->render(target);
    for (int i = 0; i < 6; ++i) state = state * 214013u + 2531011u;
    EXPECT_EQ(prng.state, state);
    setOffsets(500, 1, 2, 3, 4, 5);
    drift->render(target);
    EXPECT_EQ(prng.state, state);
    EXPECT_EQ(drift->greenY, 3.0f);
}

TEST_F(ChannelDriftTest, FramesMatchTheDriftAsWritten) {
    ReferenceDrift reference;
    std::vector<uint8_t> expected = bytesOf(target);
    for (int frame = 0; frame < 150; ++frame) {
        reference.render(*drift->picture, expected);
        drift->render(target);
        ASSERT_EQ(bytesOf(target), expected) << frame;
        ASSERT_EQ(drift->greenY, reference.offsets[3]) << frame;
    }
    // Offsets far off the screen, and ones that are no number, draw nothing.
    setOffsets(-319.5f, 239.9f, 1e9f, -1e30f, NAN, 3.0f);
    std::memcpy(reference.offsets, &drift->redX, sizeof reference.offsets);
    reference.offsets[2] = reference.offsets[3] = reference.offsets[4] = 1000;
    reference.state = prng.state;
    reference.render(*drift->picture, expected);
    drift->render(target);
    EXPECT_EQ(bytesOf(target), expected);
}

TEST(ChannelDrift, APictureOfAnotherSizeIsReplacedByBlack) {
    TempDir dir;
    std::string name = dir.write("odd.pcx", makePcx(2, 5, [](int, int) { return 0x090909u; }));
    Random prng;
    MessageLog messages;
    ChannelDrift drift(name.c_str(), name.c_str(), prng, ShowContext(messages));
    EXPECT_EQ(messages.warnings, "picture " + name + " reads as 2x5, not 320x240; vokkit check tells why\n");
    EXPECT_TRUE(drift.picture->isScreenSized());
    EXPECT_EQ(drift.extraPicture->width, 2);
    Image target;
    drift.render(target);
    EXPECT_EQ(bytesOf(target), std::vector<uint8_t>(4 * 76800, 0));
}
