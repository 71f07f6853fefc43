#include "media/rate_converter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// A sawtooth that rises by one a frame over `period` frames: left v, right -v.
constexpr int64_t period = 20000;
int16_t saw(int64_t frame) { return static_cast<int16_t>(frame % period - period / 2); }

// Ten seconds of output through the converter, asked for in uneven pieces,
// against the exact interpolation of the input at each output frame's time:
// every frame within rounding, the channels kept apart, no drift.
TEST(RateConverterTest, FollowsTheInputExactlyAtEveryRate) {
    const int rates[][2] = {{44080, 44080}, {44080, 44100}, {44080, 48000}, {44080, 22050}, {44080, 96000}};
    const size_t pieces[] = {1, 7, 1000, 333, 4096};
    for (const auto& rate : rates) {
        const int64_t in = rate[0], out = rate[1];
        int64_t produced = 0;
        RateConverter converter(rate[0], rate[1], [&produced](int16_t* samples, size_t frames) {
            for (size_t i = 0; i < frames; ++i, ++produced) {
                samples[2 * i] = saw(produced);
                samples[2 * i + 1] = static_cast<int16_t>(-saw(produced));
            }
        });
        std::vector<int16_t> output;
        for (size_t piece = 0; output.size() < static_cast<size_t>(2 * 10 * out); ++piece) {
            std::vector<int16_t> part(2 * pieces[piece % 5]);
            converter.convert(part.data(), pieces[piece % 5]);
            output.insert(output.end(), part.begin(), part.end());
        }
        int checked = 0;
        for (int64_t j = 0; j < static_cast<int64_t>(output.size() / 2); ++j) {
            const int64_t index = j * in / out, fraction = j * in % out;
            if ((index + 1) % period == 0) continue;  // straddles the sawtooth's fall
            const double exact = saw(index) + static_cast<double>(fraction) / out;
            ASSERT_LE(std::abs(output[2 * j] - exact), 0.5) << in << " to " << out << " Hz, frame " << j;
            ASSERT_EQ(output[2 * j + 1], -output[2 * j]) << in << " to " << out << " Hz, frame " << j;
            ++checked;
        }
        EXPECT_GT(checked, 9 * out);
        // The input is asked for in blocks, never far ahead of the output.
        EXPECT_LE(produced - static_cast<int64_t>(output.size() / 2) * in / out, 2 * 1024);
    }
}

}  // namespace
