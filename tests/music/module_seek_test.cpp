// Seeking the module to the frame, as the live player does for --start, a
// seek and a resumed pause.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <libopenmpt/libopenmpt.hpp>
#include <sstream>
#include <vector>

#include "media/module_stream.h"

namespace {

const std::string kModulePath = std::string(VOK_DATA_DIR) + "/zumber.xm";

std::unique_ptr<openmpt::module> openModule(std::ostringstream& log) {
    std::ifstream file(kModulePath, std::ios::binary);
    auto module = std::make_unique<openmpt::module>(file, log);
    module->ctl_set_integer("dither", 0);
    return module;
}

// Left channel of `frames` frames from the module's position.
std::vector<double> left(openmpt::module& module, size_t frames) {
    std::vector<int16_t> stereo(2 * frames);
    size_t done = 0;
    while (done < frames) {
        const size_t got = module.read_interleaved_stereo(ModuleStream::rate, frames - done, stereo.data() + 2 * done);
        if (got == 0) break;
        done += got;
    }
    std::vector<double> out(frames);
    for (size_t i = 0; i < frames; ++i) out[i] = stereo[2 * i];
    return out;
}

double correlation(const std::vector<double>& a, const std::vector<double>& b) {
    double ab = 0, aa = 0, bb = 0;
    for (size_t i = 0; i < a.size(); ++i) ab += a[i] * b[i], aa += a[i] * a[i], bb += b[i] * b[i];
    return ab / std::sqrt(aa * bb);
}

}  // namespace

// The library lands on a row boundary at or after the time it is given, and
// times rows at 44,100 Hz until it has rendered at another rate (a 0.05%
// longer tick here, 35 ms by 76 s): the seek must land on the frame itself,
// and sound as the module played through to it.
TEST(ModuleSeek, LandsOnTheFrameAskedForAndSoundsAsPlayedThrough) {
    std::ostringstream log;
    for (double seconds : {8.2758, 24.8274, 40.0, 40.05, 61.3, 76.057, 91.0338}) {
        SCOPED_TRACE(seconds);
        auto seeked = openModule(log);
        const int64_t frame = seekModule(*seeked, seconds);
        EXPECT_EQ(frame, std::llround(seconds * ModuleStream::rate));
        EXPECT_NEAR(seeked->get_position_seconds() * ModuleStream::rate, static_cast<double>(frame), 0.5);
        auto through = openModule(log);
        left(*through, static_cast<size_t>(frame));
        const size_t quarter = ModuleStream::rate / 4;
        EXPECT_GT(correlation(left(*seeked, quarter), left(*through, quarter)), 0.95);
    }
}

TEST(ModuleSeek, PastTheEndStaysAtTheEnd) {
    std::ostringstream log;
    auto module = openModule(log);
    const int64_t end = seekModule(*module, 150.0);
    EXPECT_LT(end, std::llround(150.0 * ModuleStream::rate));
    EXPECT_EQ(module->read_interleaved_stereo(ModuleStream::rate, 1024, std::vector<int16_t>(2048).data()), 0u);
}
