#pragma once
#include <cstdint>
#include <vector>

// Finds photosensitive flashes in a stream of 320x240 BGRA frames, fed one
// frame at a time, with the general-flash and red-flash thresholds of
// WCAG 2.x (success criterion 2.3.1).
//
// Each pixel is followed on its own. A transition is a change of one
// quantity, measured from the extreme the pixel reached since its previous
// transition, in the direction opposite to that transition:
//  - general: relative luminance (sRGB decoded as WCAG defines it) changes
//    by at least 0.1 and the darker of the two states is below 0.8;
//  - red: (R - G - B) x 320 of the decoded channels, negative values taken
//    as 0, changes by more than 20 and the redder state is saturated red
//    (R / (R + G + B) >= 0.8).
// A flash is a pair of opposing transitions, so a pixel's flashes in a
// second are half (rounded down) of its transitions in the last `fps`
// frames. Flashes count when the pixels that make them cover together at
// least a quarter of a 10-degree field: with the show filling the screen,
// 107x80 pixels' worth (8,560 pixels, of any shape) within a field of
// 214x160. Every one of the 107 x 81 positions of the field is considered,
// and the frame's answer is the most flashes in the last second whose
// pixels cover that much of one field.
namespace former_flash {

constexpr int frameWidth = 320;
constexpr int frameHeight = 240;
constexpr int frameBytes = frameWidth * frameHeight * 4;
constexpr int areaWidth = 107;  // a quarter of the field, 341x256 of 1024x768
constexpr int areaHeight = 80;
constexpr int areaPixels = areaWidth * areaHeight;
constexpr int fieldWidth = 2 * areaWidth;  // the 10-degree field
constexpr int fieldHeight = 2 * areaHeight;
constexpr int flashLimit = 3;  // more than three in any one second fails

// The most flashes any area had in the second that ends with a frame.
struct SecondFlashes {
    int general = 0;
    int red = 0;
    bool failing() const { return general > flashLimit || red > flashLimit; }
};

// WCAG's relative luminance of an sRGB colour and the red quantity
// max(0, (R - G - B) x 320), both from decoded channels.
double relativeLuminance(uint8_t red, uint8_t green, uint8_t blue);
double redQuantity(uint8_t red, uint8_t green, uint8_t blue);

class FlashAnalyser {
public:
    explicit FlashAnalyser(int fps);  // fps >= 1

    // Takes the next frame: 320x240 pixels of blue, green, red and a fourth
    // byte without meaning, rows 1280 bytes apart.
    SecondFlashes addFrame(const uint8_t* bgra);

private:
    // One quantity's transitions at one pixel: the lowest and highest value
    // since its last transition, and that transition's direction.
    struct Track {
        float low, high;
        int8_t direction;  // +1 rising, -1 falling, 0 none yet
        bool highSaturated;
    };
    bool generalTransition(Track& track, float value);
    bool redTransition(Track& track, float value, bool saturated);
    // Each pixel's transitions in the last fps frames, and how many pixels
    // have each count, which answers "how many have at least n" at once.
    struct Counts {
        std::vector<uint16_t> perPixel;
        std::vector<int32_t> pixelsWith;  // [n]: pixels with exactly n transitions
        int last = 0;                     // the previous frame's answer
        Counts(int pixels, int fps);
        void change(int pixel, int delta) {
            --pixelsWith[perPixel[pixel]];
            perPixel[pixel] = static_cast<uint16_t>(perPixel[pixel] + delta);
            ++pixelsWith[perPixel[pixel]];
        }
        int atLeast(int n) const;
        int most() const;
    };
    void countChanges(int pixel, uint8_t leaving, uint8_t entering);
    bool coversArea(const Counts& counts, int transitions);
    int concurrentFlashes(Counts& counts);

    int fps_;
    int64_t frame_ = 0;
    std::vector<Track> general_, red_;
    std::vector<uint8_t> history_;  // fps frames of flags: bit 0 general, bit 1 red
    std::vector<uint32_t> previous_;  // the last frame's colours, fourth byte cleared
    Counts generalCounts_, redCounts_;
    std::vector<uint32_t> summedArea_;  // (240 + 1) x (320 + 1), the top row and left column 0
};

}  // namespace former_flash
