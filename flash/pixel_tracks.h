#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "flash/flash_rules.h"

// Each pixel of a stream of 320x240 BGRA frames followed on its own, with
// the general-flash and red-flash thresholds of WCAG 2.x (success criterion
// 2.3.1). A transition is a change of one quantity, measured from the
// extreme the pixel reached since its previous transition, in the direction
// opposite to that transition:
//  - general: relative luminance (sRGB decoded as WCAG defines it) changes
//    by at least 0.1 and the darker of the two states is below 0.8;
//  - red: (R - G - B) x 320 of the decoded channels, negative values taken
//    as 0, changes by more than 20 and the redder state is saturated red
//    (R / (R + G + B) >= 0.8).
namespace flash {

enum Kind : int { General = 0, Red = 1 };
constexpr int kindCount = 2;

// A pixel's last transition of one kind as the fields read it: 0 before its
// first, else 2 x the serial number of its frame, plus 1 when it rose. Which
// pixels stand risen or fallen since a moment is then one comparison.
using Stamp = uint32_t;
inline Stamp stampOf(uint32_t serial, bool rising) { return 2 * serial + (rising ? 1u : 0u); }
inline uint32_t serialOf(Stamp stamp) { return stamp >> 1; }
inline bool rose(Stamp stamp) { return (stamp & 1) != 0; }

// WCAG's relative luminance of an sRGB colour and the red quantity
// max(0, (R - G - B) x 320), both from decoded channels.
double relativeLuminance(uint8_t red, uint8_t green, uint8_t blue);
double redQuantity(uint8_t red, uint8_t green, uint8_t blue);

class PixelTracks {
public:
    PixelTracks();

    // Takes frame `serial` (1 for the first, then one more each frame):
    // the pixels that made a transition of either kind are listed as
    // change(0) to change(changeCount() - 1), with their stamps before it.
    void step(const uint8_t* bgra, uint32_t serial);

    struct Change {
        int32_t pixel;
        Stamp before[kindCount];
    };
    size_t changeCount() const { return changeCount_; }
    const Change& change(size_t i) const { return changes_[i]; }
    const Stamp* stamps(Kind kind) const { return stamps_[kind].data(); }

    // This frame's transitions of a kind, fallen (false) or risen (true),
    // and the pixels that made any.
    int32_t transitions(Kind kind, bool risen) const { return transitions_[kind][risen]; }
    int32_t pixelsMoved() const { return pixelsMoved_; }

    // Whether the pixel of change(i) made a transition of that kind.
    bool changed(size_t i, Kind kind) const { return stamps_[kind][changes_[i].pixel] != changes_[i].before[kind]; }

    // With undo kept (for the gentle screen), holdBack(i) takes back the
    // step of change(i)'s pixel: colour, extremes and stamps as they were,
    // as if the frame had shown it unchanged. The change stays listed with
    // its stamps restored, so changed(i, kind) is false after it.
    void keepUndo(bool on) {
        keepUndo_ = on;
        undo_.resize(on ? framePixels : 0);
    }
    void holdBack(size_t i);

private:
    // One quantity's extremes since each pixel's last transition and that
    // transition's direction (+1, -1, 0 none yet), four pixels at a time;
    // for the red quantity also whether its highest was saturated red.
    struct Tracks {
        std::vector<float> low, high;
        std::vector<int32_t> direction, highSaturated;
        explicit Tracks(size_t n) : low(n), high(n), direction(n), highSaturated(n) {}
    };
    struct Undo {
        uint32_t colour;
        float low[kindCount], high[kindCount];
        int32_t direction[kindCount], highSaturated;
    };
    void start(const uint8_t* bgra);
    void stepFour(const uint8_t* bgra, int first, uint32_t serial);
    void record(int pixel, bool generalMoved, bool redMoved, uint32_t serial, const Undo& before);

    std::vector<uint32_t> previous_;  // the last frame's colours; the fourth byte: red track at rest
    Tracks tracks_[kindCount];
    std::vector<Stamp> stamps_[kindCount];
    std::vector<Change> changes_;  // room for every pixel; the first changeCount_ made a transition
    size_t changeCount_ = 0;
    int32_t transitions_[kindCount][2] = {}, pixelsMoved_ = 0;
    std::vector<Undo> undo_;  // beside changes_ when kept
    bool keepUndo_ = false;
    bool started_ = false;
};

}  // namespace flash
