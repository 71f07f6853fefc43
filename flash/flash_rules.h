#pragma once
#include <cstdint>

// The numbers of the photosensitive-flash check, written once.
namespace flash {

constexpr int frameWidth = 320;
constexpr int frameHeight = 240;
constexpr int framePixels = frameWidth * frameHeight;
constexpr int frameBytes = framePixels * 4;

// A field is a rectangle of the frame that the eye takes in at once; it
// changes when more than a quarter of it flashes at the same time.
struct FieldSize {
    int width, height;
    int area() const { return width * height; }
    // More than a quarter, without rounding: 4 x pixels > area.
    bool exceededBy(int pixels) const { return 4 * static_cast<int64_t>(pixels) > area(); }
};

// WCAG 2.3.1 takes a 10-degree field of view, which its Understanding text
// puts at 341x256 of a 1024x768 screen; the 320x240 frame shown full screen
// is 3.2 times that scale, so a field is 107x80 frame pixels.
constexpr FieldSize wcagField{107, 80};
// Broadcasters' analysers count over the whole screen.
constexpr FieldSize wholeScreen{frameWidth, frameHeight};

// Pixels flash at the same time when their transitions fall within 50 ms
// (three frames at 60 frames a second) and they still stand where those
// transitions took them: a flicker whose pixels cross the threshold a frame
// or two apart is one change.
constexpr uint32_t togetherMs = 50;

constexpr int transitionLimit = 6;  // more transitions in any one second fail
constexpr int warningFrom = 4;      // 4 to 6 pass with a warning
constexpr uint32_t secondMs = 1000;
// Extended flashing (the broadcast reading): frames whose second holds 4 to
// 6 transitions fail once they add up to 4 s within the 5 s ending with one.
constexpr uint32_t extendedWindowMs = 5000;
constexpr uint32_t extendedLimitMs = 4000;

enum class Status { Pass, Warning, Fail };

// The two readings of the same transitions: WCAG's fields, or the whole
// screen with extended flashing as broadcasters read it.
enum class Reading { Wcag, Broadcast };

// The status of the most transitions in one second of a stream.
inline Status statusOf(int transitions) {
    return transitions > transitionLimit ? Status::Fail
           : transitions >= warningFrom  ? Status::Warning
                                         : Status::Pass;
}

}  // namespace flash
