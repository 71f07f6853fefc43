#pragma once
#include <cstdint>
#include <deque>
#include <vector>

#include "flash/field_counter.h"
#include "flash/flash_rules.h"
#include "flash/pixel_tracks.h"

// Finds photosensitive flashes in a stream of 320x240 BGRA frames, fed one
// frame at a time with the time it is shown, and reads them two ways:
//  - WCAG 2.3.1, for frames shown full screen: a field is any rectangle of
//    the given size (107x80 by default, a 10-degree field of view); the
//    figure for a frame is the most changes any field made in the second
//    that ends with it (FieldCounter says when a field changes);
//  - broadcasting's: the same over the whole screen as one field, and
//    extended flashing, frames whose second holds 4 to 6 changes adding up
//    to 4 s within the 5 s that end with one.
// Each kind of transition (general, red) is counted on its own.
namespace flash {

struct KindCounts {
    int general = 0, red = 0;
    int most() const { return general > red ? general : red; }
};

struct FrameFigures {
    KindCounts wcag;           // the most changes of any field in the second to this frame
    int fieldX = -1, fieldY = -1;  // that field's top left (of the larger kind), -1 when none changed
    KindCounts broadcast;      // the whole screen's changes in the second to this frame
    uint32_t extendedMs = 0;   // how long frames held 4 to 6 of them within the last 5 s
    int changedPixels = 0;     // pixels that made a transition in this frame
};

Status wcagStatus(const FrameFigures& figures);
Status broadcastStatus(const FrameFigures& figures);

// Frame k of a stream at a fixed rate: floor(k * 1000 / fps) ms, so that
// the last second is always the last fps frames.
uint32_t frameMs(int64_t frame, int fps);

class FlashAnalyser {
public:
    // `spanMs` is how long a "second" is read: a check reads 1000 ms; the
    // gentle screen a little more, as a margin for when frames reach the eye.
    explicit FlashAnalyser(FieldSize field = wcagField, uint32_t spanMs = secondMs);

    // Takes the next frame, shown at `timeMs` of any millisecond clock (a
    // time before the previous frame's counts as the previous frame's).
    FrameFigures addFrame(const uint8_t* bgra, uint32_t timeMs);

    // The same, but first takes back every transition of a pixel in a field
    // (or of the whole screen) that would change once more than the limit
    // allows, or would make whole-screen flashing last so long that the
    // broadcast reading's extended flashing could follow; those pixels are
    // appended to `held`. The figures are those of the frame with them held.
    FrameFigures addFrameHoldingBack(const uint8_t* bgra, uint32_t timeMs, std::vector<int32_t>& held);

    const FieldCounter& wcagFields(Kind kind) const { return fields_[Wcag][kind]; }

private:
    enum Reading { Wcag = 0, Broadcast = 1, readingCount = 2 };
    using Changes = std::vector<FieldCounter::Change>;
    // A frame within the last second: its transitions (by kind, fallen and
    // risen) and how many fields it changed.
    struct SecondFrame {
        uint32_t serial = 0, timeMs = 0;
        int32_t transitions[kindCount][2] = {};
        size_t changes[readingCount][kindCount] = {};
    };
    struct FlashingFrame {
        uint32_t timeMs, durationMs;
    };

    uint32_t begin(const uint8_t* bgra, uint32_t timeMs);
    void leaveSecond(uint32_t timeMs);
    Window together(Kind kind) const;
    void decideAll();
    bool wouldOverflow(Reading reading, Kind kind, const FieldCounter::Change& change, uint32_t durationMs) const;
    bool holdBackOverflows(uint32_t durationMs, std::vector<int32_t>& held);
    void holdBackInFields(Kind kind, const Changes& over, std::vector<uint8_t>& hold) const;
    FrameFigures finish(uint32_t timeMs, uint32_t durationMs);
    uint32_t flashingMs(uint32_t timeMs) const;

    PixelTracks pixels_;
    FieldCounter fields_[readingCount][kindCount];
    Changes decided_[readingCount][kindCount];
    std::deque<SecondFrame> second_;        // the frames of the last second, oldest first
    std::deque<FlashingFrame> flashing_;    // frames of the last 5 s that held 4 to 6 changes
    uint32_t flashingMs_ = 0;               // their durations added up
    uint32_t spanMs_;
    uint32_t serial_ = 0, lastMs_ = 0;
};

}  // namespace flash
