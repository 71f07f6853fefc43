#pragma once
#include <cstdint>
#include <deque>
#include <vector>

#include "flash/flash_rules.h"
#include "flash/pixel_tracks.h"

// The fields of one size at every position in the frame, for one kind of
// transition: when each changes, and how often it changed in the last second.
//
// A field changes when more than a quarter of it flashes at the same time:
// the pixels that made a transition within the last 50 ms (togetherMs),
// after the field's last change, and still stand risen (or fallen) cover
// more than a quarter of it. So a flicker whose pixels cross the threshold a
// frame or two apart is one change, while a bar sweeping by, whose pixels
// rise and fall again before the next ones rise, is none, and pixels that
// change at different moments never add up. A change in the same direction
// as the field's last is not a new one, even while another part changes the
// other way (the slower pixels of a flicker still rising when the first
// fall). Where more than a quarter rises while more than a quarter falls and
// neither is the field's last direction, the field reverses: one change,
// after which its next change counts whatever its direction.
namespace flash {

// The frames whose transitions count as at the same time as this frame's.
struct Window {
    uint32_t serial;        // this frame's
    uint32_t firstSerial;   // the oldest of them
    int32_t risen, fallen;  // their transitions, by direction: at least the pixels whose stamp is one of theirs
};

class FieldCounter {
public:
    explicit FieldCounter(FieldSize size);

    struct Change {
        int32_t field;
        int8_t direction;  // +1 rose, -1 fell, 0 reversed
    };

    // The fields that change with the transitions of `kind` the pixels made
    // in this frame (not yet taken). Changes nothing that commit() does not
    // take; it may be called again after some pixels were held back.
    void decide(const PixelTracks& pixels, Kind kind, const Window& window, std::vector<Change>& changes);
    // Takes this frame, with the transitions and changes last decided.
    void commit(const std::vector<Change>& changes, const Window& window);
    // One change of each of these fields has left the last second.
    void forget(const std::vector<Change>& changes);

    FieldSize size() const { return size_; }
    int columns() const { return columns_; }  // positions across
    int rows() const { return rows_; }        // positions down
    int count(int32_t field) const { return counts_[field]; }  // changes in the last second
    const uint16_t* counts() const { return counts_.data(); }

    // The field with the most changes in the last second (the first of
    // them, row by row), or field -1 with 0 changes when none changed.
    struct Most {
        int changes = 0;
        int32_t field = -1;
    };
    Most most() const;

private:
    // A field's pixels risen (low 32 bits) and fallen (high 32 bits); sums
    // and differences stay exact whatever the halves carry into each other.
    using Pair = uint64_t;
    // The pixels of each field that stand where a transition later than
    // frame `after` took them.
    struct Standing {
        uint32_t after;
        std::vector<Pair> fields;  // empty: none
    };

    void gather(const PixelTracks& pixels, Kind kind, const Window& window);
    void addAround(std::vector<Pair>& sums, int32_t pixel, Pair value) const;
    void integrate(std::vector<Pair>& sums) const;
    Pair standingAfter(int32_t field, uint32_t after, const Window& window) const;
    void judgeAll(const Window& window, std::vector<Change>& changes);
    void judgeWholeFrame(const PixelTracks& pixels, Kind kind, const Window& window, std::vector<Change>& changes);
    void judge(int32_t field, Pair pair, std::vector<Change>& changes) const;
    std::vector<Pair> spareFields();

    FieldSize size_;
    int columns_, rows_, quarter_;  // quarter_: the most pixels that are not more than a quarter
    std::vector<uint32_t> lastChange_;  // the serial of each field's last change, 0 none
    std::vector<int8_t> direction_;     // of its last change: +1, -1, 0 (none or reversed)
    std::vector<uint16_t> counts_;
    int64_t countedChanges_ = 0;        // the sum of counts_
    std::deque<Standing> standing_;     // after = the window's first serial - 1 up to the last frame's - 1
    // This frame, as last decided: its transitions by field, and for each
    // frame of the window the pixels they took away from those standing
    // after it (left_[j]: after window.firstSerial - 1 + j).
    std::vector<Pair> arrived_;
    std::vector<std::vector<Pair>> left_;
    std::vector<std::vector<Pair>> spare_;  // field arrays to use again
    std::vector<int32_t> over_;
};

}  // namespace flash
