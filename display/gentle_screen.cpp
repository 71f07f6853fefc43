#include "display/gentle_screen.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int encodeSteps = 4096;

// sRGB and linear light, both ways: decoding as WCAG defines it, encoding
// by a table of the nearest 8-bit value for 4,096 steps of linear light.
struct Transfer {
    float decode[256];
    uint8_t encode[encodeSteps];
    Transfer() {
        for (int i = 0; i < 256; ++i) {
            const double c = i / 255.0;
            decode[i] = static_cast<float>(c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
        int byte = 0;
        for (int i = 0; i < encodeSteps; ++i) {
            const float x = static_cast<float>(i) / (encodeSteps - 1);
            while (byte < 255 && std::fabs(decode[byte + 1] - x) <= std::fabs(decode[byte] - x)) ++byte;
            encode[i] = static_cast<uint8_t>(byte);
        }
    }
    uint8_t toByte(float linear) const {
        const int i = static_cast<int>(linear * (encodeSteps - 1) + 0.5f);
        return encode[std::clamp(i, 0, encodeSteps - 1)];
    }
};
const Transfer transfer;

}  // namespace

const Image& GentleScreen::soften(const Image& work, uint32_t nowMs) {
    const uint8_t* in = work.pixels;
    uint8_t* out = out_.pixels;
    const int32_t count = std::min(work.count(), out_.count());
    if (!started_) {
        shown_.resize(static_cast<size_t>(out_.count()) * 3);
        for (int32_t i = 0; i < count; ++i)
            for (int c = 0; c < 3; ++c) shown_[3 * i + c] = transfer.decode[in[4 * i + 2 - c]];
        started_ = true;
        lastMs_ = nowMs;
        out_.copyFrom(work);
        return out_;
    }
    const float seconds = static_cast<float>(std::min<uint32_t>(nowMs - lastMs_, 1000)) / 1000.0f;
    lastMs_ = nowMs;
    const float luminanceBudget = static_cast<float>(luminancePerSecond) * seconds;
    const float redBudget = static_cast<float>(redPerSecond) * seconds;
    for (int32_t i = 0; i < count; ++i) {
        float* shown = &shown_[3 * static_cast<size_t>(i)];
        const uint8_t* p = &in[4 * i];
        const float target[3] = {transfer.decode[p[2]], transfer.decode[p[1]], transfer.decode[p[0]]};
        const float change[3] = {target[0] - shown[0], target[1] - shown[1], target[2] - shown[2]};
        const float luminanceMove =
            0.2126f * std::fabs(change[0]) + 0.7152f * std::fabs(change[1]) + 0.0722f * std::fabs(change[2]);
        float share = luminanceMove > luminanceBudget ? luminanceBudget / luminanceMove : 1.0f;
        const bool red = shown[0] > shown[1] + shown[2] || target[0] > target[1] + target[2];
        const float redMove = 320.0f * (std::fabs(change[0]) + std::fabs(change[1]) + std::fabs(change[2]));
        if (red && redMove * share > redBudget) share = redBudget / redMove;
        for (int c = 0; c < 3; ++c) shown[c] += change[c] * share;
        out[4 * i] = transfer.toByte(shown[2]);
        out[4 * i + 1] = transfer.toByte(shown[1]);
        out[4 * i + 2] = transfer.toByte(shown[0]);
        out[4 * i + 3] = p[3];
    }
    return out_;
}
