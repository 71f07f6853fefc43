#include "media/rate_converter.h"

#include <utility>

namespace {

constexpr size_t blockFrames = 1024;

int16_t between(int16_t from, int16_t to, int64_t phase, int64_t whole) {
    // Rounded to nearest, halves away from zero.
    const int64_t scaled = from * (whole - phase) + to * phase;
    const int64_t rounded = scaled >= 0 ? (scaled + whole / 2) / whole : -((-scaled + whole / 2) / whole);
    return static_cast<int16_t>(rounded);
}

}  // namespace

RateConverter::RateConverter(int inputRate, int outputRate, Source source)
    : inputRate(inputRate), outputRate(outputRate), source(std::move(source)) {}

void RateConverter::refill() {
    input.resize(2 * blockFrames);
    source(input.data(), blockFrames);
    next = 0;
}

void RateConverter::convert(int16_t* out, size_t frames) {
    auto advance = [this] {
        if (next == input.size() / 2) refill();
        left[0] = right[0];
        left[1] = right[1];
        right[0] = input[2 * next];
        right[1] = input[2 * next + 1];
        ++next;
    };
    if (!started) {
        advance();
        advance();
        started = true;
    }
    for (size_t i = 0; i < frames; ++i) {
        out[2 * i] = between(left[0], right[0], phase, outputRate);
        out[2 * i + 1] = between(left[1], right[1], phase, outputRate);
        phase += inputRate;
        while (phase >= outputRate) {
            phase -= outputRate;
            advance();
        }
    }
}
