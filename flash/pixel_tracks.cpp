#include "flash/pixel_tracks.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace flash {
namespace {

// sRGB decoded to linear light as WCAG writes it (the 0.03928 knee gives
// the same 8-bit values as sRGB's own 0.04045), and each channel's share of
// relative luminance: the products are the ones a pixel's luminance adds up,
// so a table gives the same float sum as multiplying every time.
struct Linear {
    float channel[256];
    float luminance[3][256];  // red, green, blue
    Linear() {
        for (int i = 0; i < 256; ++i) {
            const double c = i / 255.0;
            channel[i] = static_cast<float>(c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
            luminance[0][i] = 0.2126f * channel[i];
            luminance[1][i] = 0.7152f * channel[i];
            luminance[2][i] = 0.0722f * channel[i];
        }
    }
};
const Linear linear;

float luminanceOf(uint32_t colour) {
    return linear.luminance[0][colour >> 16] + linear.luminance[1][(colour >> 8) & 0xFF] +
           linear.luminance[2][colour & 0xFF];
}
// The pixel word as blue, green, red, fourth byte from its lowest byte up,
// on any byte order.
uint32_t le32(uint32_t word) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    return __builtin_bswap32(word);
#else
    return word;
#endif
}

float redOf(float r, float g, float b) { return std::max(0.0f, (r - g - b) * 320.0f); }
bool saturatedRed(float r, float g, float b) { return r > 0.0f && r >= 0.8f * (r + g + b); }

constexpr uint32_t redAtRest = 1u << 24;  // in the fourth byte of a previous colour

uint32_t colourAt(const uint8_t* bgra, int i) {
    uint32_t word;
    std::memcpy(&word, bgra + 4 * i, 4);
    return le32(word) & 0xFFFFFF;
}

}  // namespace

double relativeLuminance(uint8_t red, uint8_t green, uint8_t blue) {
    return luminanceOf((static_cast<uint32_t>(red) << 16) | (green << 8) | blue);
}

double redQuantity(uint8_t red, uint8_t green, uint8_t blue) {
    return redOf(linear.channel[red], linear.channel[green], linear.channel[blue]);
}

PixelTracks::PixelTracks() : previous_(framePixels), changes_(framePixels) {
    for (int k = 0; k < kindCount; ++k) {
        tracks_[k].resize(framePixels);
        stamps_[k].assign(framePixels, 0);
    }
}

// Rising: from the lowest value since the last transition; falling: from the
// highest. A transition starts the next one's extremes at the new value.
bool PixelTracks::generalTransition(Track& t, float v) {
    // Without branches: which way a pixel goes is as good as random.
    const bool rise = (t.direction != 1) & (v - t.low >= 0.1f) & (t.low < 0.8f);
    const bool fall = !rise & (t.direction != -1) & (t.high - v >= 0.1f) & (v < 0.8f);
    const bool moved = rise | fall;
    t.low = moved ? v : std::min(t.low, v);
    t.high = moved ? v : std::max(t.high, v);
    t.direction = static_cast<int8_t>(rise ? 1 : fall ? -1 : t.direction);
    return moved;
}

bool PixelTracks::redTransition(Track& t, float v, bool saturated) {
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

// A colour whose red is not above both green and blue has no red quantity
// and is not saturated red. A red track at rest (its lowest 0, its highest
// at most 20) is left as it is by such a colour, so the pixels of most
// pictures never touch their red track: the previous colour's fourth byte
// says whether it is at rest.
namespace {
bool reddish(uint32_t colour) {
    const uint32_t red = colour >> 16;
    return red > ((colour >> 8) & 0xFF) && red > (colour & 0xFF);
}
}  // namespace

bool PixelTracks::redStep(Track& t, uint32_t colour, uint32_t& rest) {
    bool moved;
    if (!reddish(colour)) {
        moved = redTransition(t, 0.0f, false);
    } else {
        const float r = linear.channel[colour >> 16], g = linear.channel[(colour >> 8) & 0xFF],
                    b = linear.channel[colour & 0xFF];
        moved = redTransition(t, redOf(r, g, b), saturatedRed(r, g, b));
    }
    rest = t.low == 0.0f && t.high <= 20.0f ? redAtRest : 0;
    return moved;
}

// The first frame sets every pixel's extremes; it makes no transition.
void PixelTracks::start(const uint8_t* bgra) {
    for (int i = 0; i < framePixels; ++i) {
        const uint32_t colour = colourAt(bgra, i);
        const float r = linear.channel[colour >> 16], g = linear.channel[(colour >> 8) & 0xFF],
                    b = linear.channel[colour & 0xFF];
        const float luminance = luminanceOf(colour), redness = redOf(r, g, b);
        tracks_[General][i] = {luminance, luminance, 0, false};
        tracks_[Red][i] = {redness, redness, 0, saturatedRed(r, g, b)};
        previous_[i] = colour | (redness == 0.0f ? redAtRest : 0);
    }
    started_ = true;
}

// A pixel whose colour is that of the previous frame makes no transition
// and keeps its extremes (its value lies between them already).
void PixelTracks::step(const uint8_t* bgra, uint32_t serial) {
    changeCount_ = 0;
    if (!started_) return start(bgra);
    Track* general = tracks_[General].data();
    Track* red = tracks_[Red].data();
    Stamp* generalStamps = stamps_[General].data();
    Stamp* redStamps = stamps_[Red].data();
    size_t n = 0;
    for (int i = 0; i < framePixels; ++i) {
        const uint32_t colour = colourAt(bgra, i), previous = previous_[i];
        if (colour == (previous & 0xFFFFFF)) continue;
        if (keepUndo_) undo_[n] = {previous, general[i], red[i]};
        const bool generalMoved = generalTransition(general[i], luminanceOf(colour));
        uint32_t rest = previous & redAtRest;
        const bool redMoved = (!rest || reddish(colour)) && redStep(red[i], colour, rest);
        previous_[i] = colour | rest;
        // Written for every pixel that changed colour, kept for those that moved.
        Change& change = changes_[n];
        change = {i, {generalStamps[i], redStamps[i]}};
        if (generalMoved) generalStamps[i] = stampOf(serial, general[i].direction > 0);
        if (redMoved) redStamps[i] = stampOf(serial, red[i].direction > 0);
        n += generalMoved | redMoved;
    }
    changeCount_ = n;
}

void PixelTracks::holdBack(size_t i) {
    const int32_t pixel = changes_[i].pixel;
    const Undo& before = undo_[i];
    previous_[pixel] = before.colour;
    tracks_[General][pixel] = before.general;
    tracks_[Red][pixel] = before.red;
    for (int k = 0; k < kindCount; ++k) stamps_[k][pixel] = changes_[i].before[k];
}

}  // namespace flash
