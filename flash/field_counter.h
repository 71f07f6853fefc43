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

    // The fields that change with the pixels' stamps of one kind as they
    // stand after this frame. Changes nothing; it may be called again after
    // some pixels were held back.
    void decide(const Stamp* stamps, const Window& window, std::vector<Change>& changes);
    // Takes this frame's changes.
    void commit(const std::vector<Change>& changes, uint32_t serial);
    // The oldest changes taken, as many as given, have left the last second.
    void forgetOldest(size_t changes);

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
    // For each frame of the window, the pixels of each field that stand
    // where a transition after it took them (standing[j]: after
    // window.firstSerial - 1 + j; filled[j]: added up yet), with a row and
    // a column more than there are positions: a rectangle of positions is
    // marked at its corners, and the running sums across and down fill it.
    template <typename Pair>
    struct Arrays {
        std::vector<std::vector<Pair>> standing;
        std::vector<bool> filled;
    };
    template <typename Pair>
    Arrays<Pair>& arrays();
    template <typename Pair>
    void decideWith(const Stamp* stamps, const Window& window, std::vector<Change>& changes);
    template <typename Pair>
    void build(const Stamp* stamps, const Window& window);
    template <typename Pair>
    void addAround(Pair* sums, int32_t pixel, Pair value) const;
    template <typename Pair>
    void integrate(Pair* sums) const;
    template <typename Pair>
    const Pair* standingAfter(size_t j);
    template <typename Pair>
    void judgeAll(const Window& window, std::vector<Change>& changes);
    void judgeWholeFrame(const Stamp* stamps, const Window& window, std::vector<Change>& changes);
    template <typename Pair>
    void judge(int32_t field, int risen, int fallen, const Pair* since, std::vector<Change>& changes) const;
    void judge(int32_t field, int risen, int fallen, std::vector<Change>& changes) const;

    FieldSize size_;
    int columns_, rows_, quarter_;  // quarter_: the most pixels that are not more than a quarter
    std::vector<uint32_t> lastChange_;  // the serial of each field's last change, 0 none
    std::vector<int8_t> direction_;     // of its last change: +1, -1, 0 (none or reversed)
    std::vector<uint16_t> counts_;
    int64_t countedChanges_ = 0;        // the sum of counts_
    std::deque<int32_t> taken_;         // the fields of the changes taken, oldest first
    Arrays<uint32_t> narrow_;  // fields below 65,536 pixels
    Arrays<uint64_t> wide_;
};

}  // namespace flash
