#include "former_flash_analyser.h"

#include <algorithm>
#include <cmath>

namespace former_flash {
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
      previous_(pixelCount),
      generalCounts_(pixelCount, fps_),
      redCounts_(pixelCount, fps_),
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
FlashAnalyser::Counts::Counts(int pixels, int fps) : perPixel(pixels), pixelsWith(fps + 1) { pixelsWith[0] = pixels; }

int FlashAnalyser::Counts::atLeast(int n) const {
    int pixels = 0;
    for (size_t c = static_cast<size_t>(n); c < pixelsWith.size(); ++c) pixels += pixelsWith[c];
    return pixels;
}

int FlashAnalyser::Counts::most() const {
    int n = static_cast<int>(pixelsWith.size()) - 1;
    while (n > 0 && pixelsWith[n] == 0) --n;
    return n;
}

bool FlashAnalyser::coversArea(const Counts& counts, int transitions) {
    if (counts.atLeast(transitions) < areaPixels) return false;  // not even the whole frame has enough
    uint32_t* table = summedArea_.data();
    for (int y = 0; y < frameHeight; ++y) {
        uint32_t rowSum = 0;
        const uint16_t* row = &counts.perPixel[static_cast<size_t>(y) * frameWidth];
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
// area's worth of one field. Covering holds for every count up to the answer
// and for none above it, and the answer moves little from frame to frame, so
// the search walks from the previous frame's answer.
int FlashAnalyser::concurrentFlashes(Counts& counts) {
    const int most = counts.most() / 2;
    int answer = std::min(counts.last, most);
    if (answer > 0 && !coversArea(counts, 2 * answer)) {
        do --answer;
        while (answer > 0 && !coversArea(counts, 2 * answer));
    } else {
        while (answer < most && coversArea(counts, 2 * (answer + 1))) ++answer;
    }
    counts.last = answer;
    return answer;
}

// A pixel's counts as the transitions of the frame `fps` frames back leave
// the window and this frame's enter it (bit 0 general, bit 1 red).
void FlashAnalyser::countChanges(int pixel, uint8_t leaving, uint8_t entering) {
    const int general = (entering & 1) - (leaving & 1), red = (entering >> 1) - (leaving >> 1);
    if (general) generalCounts_.change(pixel, general);
    if (red) redCounts_.change(pixel, red);
}

// A pixel whose colour is that of the previous frame makes no transition
// and keeps its extremes (its value lies between them already), so only the
// transitions leaving the one-second window are taken off its counts.
SecondFlashes FlashAnalyser::addFrame(const uint8_t* bgra) {
    uint8_t* flags = &history_[static_cast<size_t>(frame_ % fps_) * pixelCount];
    for (int i = 0; i < pixelCount; ++i) {
        const uint8_t leaving = flags[i];
        flags[i] = 0;
        const uint8_t* p = bgra + 4 * i;
        const uint32_t colour = p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16);
        if (frame_ > 0 && colour == previous_[i]) {
            if (leaving) countChanges(i, leaving, 0);
            continue;
        }
        previous_[i] = colour;
        const float b = linear.channel[colour & 0xFF], g = linear.channel[(colour >> 8) & 0xFF],
                    r = linear.channel[colour >> 16];
        const float luminance = luminanceOf(r, g, b), redness = redOf(r, g, b);
        const bool saturated = saturatedRed(r, g, b);
        if (frame_ == 0) {
            general_[i] = {luminance, luminance, 0, false};
            red_[i] = {redness, redness, 0, saturated};
            continue;
        }
        const bool general = generalTransition(general_[i], luminance);
        const bool red = redTransition(red_[i], redness, saturated);
        flags[i] = static_cast<uint8_t>(general | (red << 1));
        if (leaving != flags[i]) countChanges(i, leaving, flags[i]);
    }
    ++frame_;
    return {concurrentFlashes(generalCounts_), concurrentFlashes(redCounts_)};
}

}  // namespace former_flash
