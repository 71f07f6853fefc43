// The generated "zumber.xm" as the two players see it.
#include <gtest/gtest.h>
#include <xmp.h>

#include <libopenmpt/libopenmpt.hpp>
#include <sstream>

#include "module_render.h"

namespace {

const std::string kModulePath = std::string(VOK_DATA_DIR) + "/zumber.xm";
constexpr int kOrders = 12;
// 12 patterns x 64 rows x 6 ticks x 2.5 / 116 BPM.
constexpr double kSongSeconds = 12 * 64 * 6 * 2.5 / 116;
// A rate at which a tick at 116 BPM is a whole number of frames (950), so
// neither player rounds the tick length.
constexpr int kExactTickRate = 44080;
constexpr double kOpenmptFadeSeconds = 0.1;  // libopenmpt's fade-out after the last row
// Quieter than this over a whole pattern counts as silence (about -46 dBFS).
constexpr double kSilenceRms = 0.005;

TEST(ZumberModule, LibxmpAcceptsItWithTheLayoutWritten) {
    xmp_context context = xmp_create_context();
    ASSERT_EQ(xmp_load_module(context, const_cast<char*>(kModulePath.c_str())), 0);
    xmp_module_info info;
    xmp_get_module_info(context, &info);
    EXPECT_EQ(info.mod->len, kOrders);
    EXPECT_EQ(info.mod->spd, 6);
    EXPECT_EQ(info.mod->bpm, 116);
    EXPECT_EQ(info.mod->ins, 10);
    for (int order = 0; order < info.mod->len; ++order) {
        EXPECT_EQ(info.mod->xxo[order], order);
        EXPECT_EQ(info.mod->xxp[order]->rows, 64);
    }
    xmp_release_module(context);
    xmp_free_context(context);
}

TEST(ZumberModule, LibopenmptReadsAnXmOfTwelveOrdersAndTheShowsLength) {
    std::ostringstream log;
    openmpt::module module(readModule(kModulePath), log);
    EXPECT_EQ(module.get_metadata("type"), "xm");
    EXPECT_EQ(module.get_num_orders(), kOrders);
    EXPECT_EQ(module.get_num_patterns(), kOrders);
    EXPECT_EQ(module.get_num_channels(), 16);
    EXPECT_EQ(module.get_current_speed(), 6);
    EXPECT_DOUBLE_EQ(module.get_current_tempo(), 116.0);
    for (int order = 0; order < kOrders; ++order) {
        EXPECT_EQ(module.get_order_pattern(order), order);
        EXPECT_EQ(module.get_pattern_num_rows(order), 64);
    }
    // The reported length counts whole samples per tick and runs about 45 ms short.
    EXPECT_NEAR(module.get_duration_seconds(), 99.31, 0.05);
}

TEST(ZumberModule, PlaysForTheShowsLengthAtTheExactTickRate) {
    const Rendering openmpt = renderWithOpenmpt(readModule(kModulePath), kExactTickRate);
    EXPECT_NEAR(double(openmpt.totalFrames) / kExactTickRate - kOpenmptFadeSeconds, kSongSeconds, 0.005);
    const Rendering xmp = renderWithXmp(kModulePath, kExactTickRate);
    EXPECT_NEAR(double(xmp.totalFrames) / kExactTickRate, kSongSeconds, 0.005);
}

void expectEveryPatternSoundsAndNothingClips(const Rendering& rendering, const char* player) {
    ASSERT_GE(rendering.orders.size(), size_t(kOrders)) << player;
    for (int order = 0; order < kOrders; ++order) {
        const OrderLevel& level = rendering.orders[size_t(order)];
        EXPECT_GT(level.rms, kSilenceRms) << player << " order " << order;
        EXPECT_LT(level.peak, 1.0) << player << " order " << order;
        // A steady 8.28 s: rows are not cut short or skipped.
        EXPECT_NEAR(double(level.frames) / 44100, kSongSeconds / kOrders, 0.02) << player << " order " << order;
    }
}

TEST(ZumberModule, EveryPatternSoundsWithoutClippingInLibopenmpt) {
    const Rendering rendering = renderWithOpenmpt(readModule(kModulePath), 44100);
    expectEveryPatternSoundsAndNothingClips(rendering, "libopenmpt");
}

TEST(ZumberModule, EveryPatternSoundsWithoutClippingInLibxmp) {
    const Rendering rendering = renderWithXmp(kModulePath, 44100);
    expectEveryPatternSoundsAndNothingClips(rendering, "libxmp");
    EXPECT_FALSE(rendering.clamped);
}

// The two players read the envelopes, volumes and panning alike: their
// levels agree pattern by pattern (a misread field shows in one of them only).
TEST(ZumberModule, BothPlayersGiveEachPatternTheSameLevel) {
    const Rendering openmpt = renderWithOpenmpt(readModule(kModulePath), 44100);
    const Rendering xmp = renderWithXmp(kModulePath, 44100);
    ASSERT_GE(openmpt.orders.size(), size_t(kOrders));
    ASSERT_GE(xmp.orders.size(), size_t(kOrders));
    // libxmp mixes about 2.5 dB louder throughout; compare each pattern's
    // share of the song's level.
    double openmptSum = 0.0, xmpSum = 0.0;
    for (int order = 0; order < kOrders; ++order) {
        openmptSum += openmpt.orders[size_t(order)].rms;
        xmpSum += xmp.orders[size_t(order)].rms;
    }
    for (int order = 0; order < kOrders; ++order) {
        const double openmptShare = openmpt.orders[size_t(order)].rms / openmptSum;
        const double xmpShare = xmp.orders[size_t(order)].rms / xmpSum;
        EXPECT_NEAR(openmptShare / xmpShare, 1.0, 0.12) << "order " << order;  // within 1 dB
    }
}

}  // namespace
