#include "module_render.h"

#include <xmp.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <libopenmpt/libopenmpt.hpp>
#include <sstream>
#include <stdexcept>

namespace {

struct LevelSums {
    explicit LevelSums(int rate) : endFrames(size_t(Rendering::kEndSeconds * rate)) {}

    std::vector<double> squares;
    std::vector<double> lastOrderSquares;  // frame by frame, for the level at the very end
    size_t endFrames;
    Rendering result;

    // Order -1: frames after the song (libopenmpt's fade-out), counted in the total only.
    void add(int order, double left, double right) {
        result.totalFrames += 1;
        if (order < 0) return;
        if (size_t(order) >= result.orders.size()) {
            result.orders.resize(size_t(order) + 1);
            squares.resize(size_t(order) + 1);
        }
        OrderLevel& level = result.orders[size_t(order)];
        level.peak = std::max({level.peak, std::fabs(left), std::fabs(right)});
        squares[size_t(order)] += left * left + right * right;
        if (size_t(order) + 1 == result.orders.size()) {
            if (level.frames == 0) lastOrderSquares.clear();
            lastOrderSquares.push_back(left * left + right * right);
        }
        level.frames += 1;
    }

    Rendering finish() {
        for (size_t i = 0; i < result.orders.size(); ++i) {
            OrderLevel& level = result.orders[i];
            if (level.frames) level.rms = std::sqrt(squares[i] / (2.0 * double(level.frames)));
        }
        const size_t count = std::min(endFrames, lastOrderSquares.size());
        double endSum = 0.0;
        for (size_t i = lastOrderSquares.size() - count; i < lastOrderSquares.size(); ++i) endSum += lastOrderSquares[i];
        if (count) result.endRms = std::sqrt(endSum / (2.0 * double(count)));
        return result;
    }
};

}  // namespace

std::vector<uint8_t> readModule(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot open " + path);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

Rendering renderWithOpenmpt(const std::vector<uint8_t>& bytes, int rate) {
    std::ostringstream log;
    openmpt::module module(bytes, log);
    module.set_repeat_count(0);
    // Small blocks, so each block's frames belong to the order current after it.
    constexpr size_t kBlock = 64;
    std::vector<float> buffer(kBlock * 2);
    LevelSums sums(rate);
    int lastOrder = 0;
    for (;;) {
        const size_t frames = module.read_interleaved_stereo(rate, kBlock, buffer.data());
        if (frames == 0) break;
        // After the last row the position returns to the start while the fade-out plays.
        const int order = module.get_current_order();
        const bool fading = order < lastOrder;
        lastOrder = std::max(lastOrder, order);
        for (size_t i = 0; i < frames; ++i) sums.add(fading ? -1 : order, buffer[2 * i], buffer[2 * i + 1]);
    }
    return sums.finish();
}

Rendering renderWithXmp(const std::string& path, int rate) {
    xmp_context context = xmp_create_context();
    if (xmp_load_module(context, const_cast<char*>(path.c_str())) != 0) {
        xmp_free_context(context);
        throw std::runtime_error("libxmp refuses " + path);
    }
    LevelSums sums(rate);
    bool clamped = false;
    xmp_start_player(context, rate, 0);
    xmp_frame_info info;
    while (xmp_play_frame(context) == 0) {
        xmp_get_frame_info(context, &info);
        if (info.loop_count > 0) break;
        const int16_t* samples = static_cast<const int16_t*>(info.buffer);
        const int count = info.buffer_size / int(sizeof(int16_t));
        for (int i = 0; i + 1 < count; i += 2) {
            clamped = clamped || samples[i] <= -32767 || samples[i] >= 32767 || samples[i + 1] <= -32767 ||
                      samples[i + 1] >= 32767;
            sums.add(info.pos, samples[i] / 32768.0, samples[i + 1] / 32768.0);
        }
    }
    xmp_end_player(context);
    xmp_release_module(context);
    xmp_free_context(context);
    Rendering result = sums.finish();
    result.clamped = clamped;
    return result;
}
