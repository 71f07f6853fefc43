#include "flash/pixel_tracks.h"

#include <cmath>
#include <cstring>

namespace flash {
namespace {

// Pixel words are read whole, blue in the lowest byte: every target of the
// project stores them so.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "pixel words are read with blue in the lowest byte");

// sRGB decoded to linear light as WCAG writes it (the 0.03928 knee gives
// the same 8-bit values as sRGB's own 0.04045).
struct Linear {
    float channel[256];
    Linear() {
        for (int i = 0; i < 256; ++i) {
            const double c = i / 255.0;
            channel[i] = static_cast<float>(c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
    }
};
const Linear linear;

// Four lanes of the compilers' vector extensions (SSE2, NEON or WebAssembly
// SIMD): the same IEEE operations as scalar code, lane by lane, in the same
// order. A lane of a comparison is all ones where it holds.
typedef float F4 __attribute__((vector_size(16)));
typedef int32_t I4 __attribute__((vector_size(16)));
typedef uint32_t U4 __attribute__((vector_size(16)));

template <typename V, typename T>
V load(const T* from) {
    V v;
    std::memcpy(&v, from, sizeof v);
    return v;
}
template <typename T, typename V>
void store(T* to, V v) {
    std::memcpy(to, &v, sizeof v);
}
F4 splat(float x) { return F4{x, x, x, x}; }
I4 splat(int32_t x) { return I4{x, x, x, x}; }
F4 select(I4 mask, F4 a, F4 b) { return (F4)((mask & (I4)a) | (~mask & (I4)b)); }
I4 select(I4 mask, I4 a, I4 b) { return (mask & a) | (~mask & b); }
bool any(I4 mask) { return (mask[0] | mask[1] | mask[2] | mask[3]) != 0; }

// The decoded channels of four colours.
struct Channels {
    F4 r, g, b;
    explicit Channels(U4 colour) {
        for (int j = 0; j < 4; ++j) {
            r[j] = linear.channel[colour[j] >> 16];
            g[j] = linear.channel[(colour[j] >> 8) & 0xFF];
            b[j] = linear.channel[colour[j] & 0xFF];
        }
    }
};

// Relative luminance; the red quantity max(0, (R - G - B) x 320); and
// whether the colour is saturated red, R >= 0.8 (R + G + B) with R > 0.
float luminanceOf(float r, float g, float b) { return 0.2126f * r + 0.7152f * g + 0.0722f * b; }
F4 luminanceOf(F4 r, F4 g, F4 b) { return splat(0.2126f) * r + splat(0.7152f) * g + splat(0.0722f) * b; }
float redOf(float r, float g, float b) { return std::max(0.0f, (r - g - b) * 320.0f); }
F4 redOf(F4 r, F4 g, F4 b) {
    const F4 red = (r - g - b) * splat(320.0f);
    return select(splat(0.0f) < red, red, splat(0.0f));  // std::max(0, red), -0 included
}
bool saturatedRed(float r, float g, float b) { return r > 0.0f && r >= 0.8f * (r + g + b); }
I4 saturatedRed(F4 r, F4 g, F4 b) { return (r > splat(0.0f)) & (r >= splat(0.8f) * (r + g + b)); }

// A red track is at rest when its lowest is 0 and its highest at most 20:
// a colour whose red channel is not above both others, or is at most 70
// (0.0612 decoded, so a red quantity of at most 19.6), then makes no
// transition and keeps its lowest; its highest matters only once it passes
// 20, when it becomes that value. Such pixels skip their red track; the
// previous colour's fourth byte says whether it is at rest.
constexpr uint32_t redAtRest = 1u << 24;
constexpr uint32_t faintestRed = 70;

// The red quantity of four pixels (their tracks from the pointers on); `rest`
// becomes whether each track is at rest.
I4 redFour(const Channels& c, float* lowest, float* highest, int32_t* directions, int32_t* saturation, I4& rest) {
    const F4 v = redOf(c.r, c.g, c.b), low = load<F4>(lowest), high = load<F4>(highest);
    const I4 saturated = saturatedRed(c.r, c.g, c.b), direction = load<I4>(directions);
    const I4 highSaturated = load<I4>(saturation);
    const I4 rise = (direction != 1) & (v - low > splat(20.0f)) & saturated;
    const I4 fall = ~rise & (direction != -1) & (high - v > splat(20.0f)) & highSaturated;
    const I4 moved = rise | fall, higher = high < v;
    const F4 newLow = select(moved, v, select(v < low, v, low)), newHigh = select(moved | higher, v, high);
    store(lowest, newLow);
    store(highest, newHigh);
    store(saturation, select(moved | higher, saturated, highSaturated));
    store(directions, select(rise, splat(1), select(fall, splat(-1), direction)));
    rest = (newLow == splat(0.0f)) & (newHigh <= splat(20.0f));
    return moved;
}

}  // namespace

double relativeLuminance(uint8_t red, uint8_t green, uint8_t blue) {
    return luminanceOf(linear.channel[red], linear.channel[green], linear.channel[blue]);
}

double redQuantity(uint8_t red, uint8_t green, uint8_t blue) {
    return redOf(linear.channel[red], linear.channel[green], linear.channel[blue]);
}

PixelTracks::PixelTracks()
    : previous_(framePixels), tracks_{Tracks(framePixels), Tracks(framePixels)}, changes_(framePixels) {
    for (std::vector<Stamp>& stamps : stamps_) stamps.assign(framePixels, 0);
}

// The first frame sets every pixel's extremes; it makes no transition.
void PixelTracks::start(const uint8_t* bgra) {
    for (int i = 0; i < framePixels; ++i) {
        uint32_t colour;
        std::memcpy(&colour, bgra + 4 * i, 4);
        colour &= 0xFFFFFF;
        const float r = linear.channel[colour >> 16], g = linear.channel[(colour >> 8) & 0xFF],
                    b = linear.channel[colour & 0xFF];
        const float luminance = luminanceOf(r, g, b), redness = redOf(r, g, b);
        tracks_[General].low[i] = tracks_[General].high[i] = luminance;
        tracks_[Red].low[i] = tracks_[Red].high[i] = redness;
        tracks_[Red].highSaturated[i] = saturatedRed(r, g, b) ? -1 : 0;
        previous_[i] = colour | (redness == 0.0f ? redAtRest : 0);
    }
    started_ = true;
}

void PixelTracks::step(const uint8_t* bgra, uint32_t serial) {
    changeCount_ = 0;
    pixelsMoved_ = 0;
    for (auto& counts : transitions_) counts[0] = counts[1] = 0;
    if (!started_) return start(bgra);
    // Sixteen pixels are looked at together first: most of a picture stays.
    for (int first = 0; first < framePixels; first += 16) {
        I4 changed = splat(0);
        for (int j = 0; j < 16; j += 4)
            changed |= (I4)((load<U4>(bgra + 4 * (first + j)) & 0xFFFFFFu) != (load<U4>(&previous_[first + j]) & 0xFFFFFFu));
        if (!any(changed)) continue;
        for (int j = 0; j < 16; j += 4) stepFour(bgra, first + j, serial);
    }
}

// Four pixels at once. A pixel whose colour is that of the previous frame
// makes no transition and keeps its extremes (its value lies between them
// already, and made no transition there before), so all four go through the
// same arithmetic.
//
// A transition is a change from the extreme since the last transition, in
// the direction opposite to that one: rising from the lowest, falling from
// the highest; it starts the next one's extremes at the new value.
// General: a change of at least 0.1 with the darker state below 0.8. Red: a
// change of more than 20 with the redder state saturated red.
inline void PixelTracks::stepFour(const uint8_t* bgra, int first, uint32_t serial) {
    const U4 colour = load<U4>(bgra + 4 * first) & 0xFFFFFFu, previous = load<U4>(&previous_[first]);
    const I4 changed = (I4)(colour != (previous & 0xFFFFFFu));
    if (!any(changed)) return;
    const Channels c(colour);
    Tracks& general = tracks_[General];
    Undo before[4];  // filled only when undo is kept: zeroing costs a tenth of the step
    for (int j = 0; j < 4 && keepUndo_; ++j) {
        const int p = first + j;
        before[j] = {previous[j], {general.low[p], tracks_[Red].low[p]}, {general.high[p], tracks_[Red].high[p]},
                     {general.direction[p], tracks_[Red].direction[p]}, tracks_[Red].highSaturated[p]};
    }
    const F4 v = luminanceOf(c.r, c.g, c.b), low = load<F4>(&general.low[first]), high = load<F4>(&general.high[first]);
    const I4 direction = load<I4>(&general.direction[first]);
    const I4 rise = (direction != 1) & (v - low >= splat(0.1f)) & (low < splat(0.8f));
    const I4 fall = ~rise & (direction != -1) & (high - v >= splat(0.1f)) & (v < splat(0.8f));
    const I4 moved = rise | fall;
    store(&general.low[first], select(moved, v, select(v < low, v, low)));
    store(&general.high[first], select(moved, v, select(high < v, v, high)));
    store(&general.direction[first], select(rise, splat(1), select(fall, splat(-1), direction)));
    const U4 red = colour >> 16, green = (colour >> 8) & 0xFFu, blue = colour & 0xFFu;
    const I4 atRest = (I4)((previous & redAtRest) != 0);
    const I4 needsRed = changed & (~atRest | (I4)((red > green) & (red > blue) & (red > faintestRed)));
    I4 rest = atRest, redMoved = splat(0);
    Tracks& t = tracks_[Red];
    if (any(needsRed))
        redMoved = redFour(c, &t.low[first], &t.high[first], &t.direction[first], &t.highSaturated[first], rest);
    store(&previous_[first], (U4)select(changed, (I4)colour | (rest & (I4)splat(static_cast<int32_t>(redAtRest))), (I4)previous));
    const I4 busy = moved | redMoved;
    if (!any(busy)) return;
    for (int j = 0; j < 4; ++j)
        if (busy[j]) record(first + j, moved[j] != 0, redMoved[j] != 0, serial, before[j]);
}

void PixelTracks::record(int pixel, bool generalMoved, bool redMoved, uint32_t serial, const Undo& before) {
    changes_[changeCount_] = {pixel, {stamps_[General][pixel], stamps_[Red][pixel]}};
    if (keepUndo_) undo_[changeCount_] = before;
    ++changeCount_;
    ++pixelsMoved_;
    for (int k = 0; k < kindCount; ++k) {
        if (!(k == General ? generalMoved : redMoved)) continue;
        const bool risen = tracks_[k].direction[pixel] > 0;
        stamps_[k][pixel] = stampOf(serial, risen);
        ++transitions_[k][risen];
    }
}

void PixelTracks::holdBack(size_t i) {
    const int32_t pixel = changes_[i].pixel;
    const Undo& before = undo_[i];
    if (changed(i, General) || changed(i, Red)) --pixelsMoved_;
    for (int k = 0; k < kindCount; ++k)
        if (changed(i, static_cast<Kind>(k))) --transitions_[k][rose(stamps_[k][pixel])];
    previous_[pixel] = before.colour;
    for (int k = 0; k < kindCount; ++k) {
        tracks_[k].low[pixel] = before.low[k];
        tracks_[k].high[pixel] = before.high[k];
        tracks_[k].direction[pixel] = before.direction[k];
        stamps_[k][pixel] = changes_[i].before[k];
    }
    tracks_[Red].highSaturated[pixel] = before.highSaturated;
}

}  // namespace flash
