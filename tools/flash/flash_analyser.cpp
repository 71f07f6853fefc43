#include "flash_analyser.h"

#include <algorithm>
#include <cmath>

namespace flash {
namespace {

constexpr int pixelCount = frameWidth * frameHeight;
constexpr int fieldColumns = frameWidth - fieldWidth + 1;  // 107 positions across
constexpr int fieldRows = frameHeight - fieldHeight + 1;   // 81 down
constexpr int tableWidth = frameWidth + 1;

// sRGB decoded to linear light as WCAG writes it (the 0.03928 knee gives
// the same 8-bit values as sRGB's own 0.04045).
double decode(uint8_t value) {
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

struct Linear {
    float channel[256];
    Linear() {
        for (int i = 0; i < 256; ++i) channel[i] = static_cast<float>(decode(static_cast<uint8_t>(i)));
    }
};
const Linear linear;

float luminanceOf(float r, float g, float b) { return 0.2126f * r + 0.7152f * g + 0.0722f * b; }
float redOf(float r, float g, float b) { return std::max(0.0f, (r - g - b) * 320.0f); }
bool saturatedRed(float r, float g, float b) { return r > 0.0f && r >= 0.8f * (r + g + b); }

}  // namespace

double relativeLuminance(uint8_t red, uint8_t green, uint8_t blue) {
    return luminanceOf(linear.channel[red], linear.channel[green], linear.channel[blue]);
}

double redQuantity(uint8_t red, uint8_t green, uint8_t blue) {
    return redOf(linear.channel[red], linear.channel[green], linear.channel[blue]);
}

FlashAnalyser::FlashAnalyser(int fps)
    : fps_(std::max(1, fps)),
      general_(pixelCount),
      red_(pixelCount),
      history_(static_cast<size_t>(fps_) * pixelCount),
      generalCount_(pixelCount),
      redCount_(pixelCount),
      summedArea_(static_cast<size_t>(frameHeight + 1) * tableWidth, 0) {}

// Rising: from the lowest value since the last transition; falling: from the
// highest. A transition starts the next one's extremes at the new value.
bool FlashAnalyser::generalTransition(Track& t, float v) {
    if (t.direction != 1 && v - t.low >= 0.1f && t.low < 0.8f) {
        t = {v, v, 1, false};
        return true;
    }
    if (t.direction != -1 && t.high - v >= 0.1f && v < 0.8f) {
        t = {v, v, -1, false};
        return true;
    }
    t.low = std::min(t.low, v);
    t.high = std::max(t.high, v);
    return false;
}

bool FlashAnalyser::redTransition(Track& t, float v, bool saturated) {
    if (t.direction != 1 && v - t.low > 20.0f && saturated) {
        t = {v, v, 1, saturated};
        return true;
    }
    if (t.direction != -1 && t.high - v > 20.0f && t.highSaturated) {
        t = {v, v, -1, saturated};
        return true;
    }
    t.low = std::min(t.low, v);
    if (v > t.high) t.high = v, t.highSaturated = saturated;
    return false;
}

// Whether the pixels that made at least `transitions` transitions cover an
// area's worth of some field: a summed-area table of them, and the sum over
// every position of the field.
bool FlashAnalyser::coversArea(const std::vector<uint16_t>& counts, int transitions) {
    uint32_t* table = summedArea_.data();
    for (int y = 0; y < frameHeight; ++y) {
        uint32_t rowSum = 0;
        const uint16_t* row = &counts[static_cast<size_t>(y) * frameWidth];
        uint32_t* above = &table[static_cast<size_t>(y) * tableWidth];
        uint32_t* here = above + tableWidth;
        for (int x = 0; x < frameWidth; ++x) {
            rowSum += row[x] >= transitions;
            here[x + 1] = above[x + 1] + rowSum;
        }
    }
    for (int y = 0; y < fieldRows; ++y) {
        const uint32_t* top = &table[static_cast<size_t>(y) * tableWidth];
        const uint32_t* bottom = top + static_cast<size_t>(fieldHeight) * tableWidth;
        for (int x = 0; x < fieldColumns; ++x) {
            const uint32_t covered = bottom[x + fieldWidth] - bottom[x] - top[x + fieldWidth] + top[x];
            if (covered >= static_cast<uint32_t>(areaPixels)) return true;
        }
    }
    return false;
}

// The most flashes (pairs of transitions) whose pixels together cover an
// area's worth of one field, by bisection on the count: covering holds for
// every count up to the answer and for none above it.
int FlashAnalyser::concurrentFlashes(const std::vector<uint16_t>& counts) {
    const int most = *std::max_element(counts.begin(), counts.end()) / 2;
    int low = 0, high = most;  // covering holds at low (trivially at 0), fails above high
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (coversArea(counts, 2 * middle)) low = middle;
        else high = middle - 1;
    }
    return low;
}

SecondFlashes FlashAnalyser::addFrame(const uint8_t* bgra) {
    uint8_t* flags = &history_[static_cast<size_t>(frame_ % fps_) * pixelCount];
    for (int i = 0; i < pixelCount; ++i) {
        const float b = linear.channel[bgra[4 * i]], g = linear.channel[bgra[4 * i + 1]],
                    r = linear.channel[bgra[4 * i + 2]];
        const float luminance = luminanceOf(r, g, b), redness = redOf(r, g, b);
        const bool saturated = saturatedRed(r, g, b);
        if (frame_ == 0) {
            general_[i] = {luminance, luminance, 0, false};
            red_[i] = {redness, redness, 0, saturated};
        }
        generalCount_[i] -= flags[i] & 1;
        redCount_[i] -= flags[i] >> 1;
        const bool general = generalTransition(general_[i], luminance);
        const bool red = redTransition(red_[i], redness, saturated);
        flags[i] = static_cast<uint8_t>(general | (red << 1));
        generalCount_[i] += general;
        redCount_[i] += red;
    }
    ++frame_;
    return {concurrentFlashes(generalCount_), concurrentFlashes(redCount_)};
}

}  // namespace flash
