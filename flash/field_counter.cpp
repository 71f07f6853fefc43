#include "flash/field_counter.h"

#include <algorithm>

namespace flash {
namespace {

using Pair = uint64_t;
constexpr Pair risenOne = 1, fallenOne = Pair(1) << 32;

Pair pairOf(Stamp stamp) { return rose(stamp) ? risenOne : fallenOne; }
int risenIn(Pair pair) { return static_cast<int>(static_cast<uint32_t>(pair)); }
int fallenIn(Pair pair) { return static_cast<int>(pair >> 32); }

}  // namespace

// The field arrays have a row and a column more than there are positions:
// a rectangle of positions is first marked at its four corners, and the
// running sums across and down then fill it.
FieldCounter::FieldCounter(FieldSize size)
    : size_(size),
      columns_(frameWidth - size.width + 1),
      rows_(frameHeight - size.height + 1),
      quarter_(size.area() / 4),
      lastChange_(static_cast<size_t>(columns_) * rows_, 0),
      direction_(lastChange_.size(), 0),
      counts_(lastChange_.size(), 0) {}

void FieldCounter::decide(const PixelTracks& pixels, Kind kind, const Window& window, std::vector<Change>& changes) {
    const bool mayExceed = quarter_ < window.risen || quarter_ < window.fallen;
    if (columns_ == 1 && rows_ == 1) {
        if (mayExceed) judgeWholeFrame(pixels, kind, window, changes);
        return;
    }
    gather(pixels, kind, window);
    // Without a transition now, no field has more than it had a frame ago.
    if (mayExceed && !arrived_.empty()) judgeAll(window, changes);
}

std::vector<Pair> FieldCounter::spareFields() {
    std::vector<Pair> fields;
    if (!spare_.empty()) fields.swap(spare_.back()), spare_.pop_back();
    fields.assign(static_cast<size_t>(rows_ + 1) * (columns_ + 1), 0);
    return fields;
}

// Marks the positions whose field covers the pixel.
void FieldCounter::addAround(std::vector<Pair>& sums, int32_t pixel, Pair value) const {
    const int px = pixel % frameWidth, py = pixel / frameWidth, stride = columns_ + 1;
    const int x0 = std::max(0, px - size_.width + 1), x1 = std::min(px, columns_ - 1) + 1;
    const int y0 = std::max(0, py - size_.height + 1), y1 = std::min(py, rows_ - 1) + 1;
    sums[y0 * stride + x0] += value;
    sums[y0 * stride + x1] -= value;
    sums[y1 * stride + x0] -= value;
    sums[y1 * stride + x1] += value;
}

void FieldCounter::integrate(std::vector<Pair>& sums) const {
    const int stride = columns_ + 1;
    for (int y = 0; y < rows_; ++y) {
        Pair* row = &sums[static_cast<size_t>(y) * stride];
        Pair running = 0;
        for (int x = 0; x < columns_; ++x) row[x] = running += row[x];
        if (y == 0) continue;
        const Pair* above = row - stride;
        for (int x = 0; x < columns_; ++x) row[x] += above[x];
    }
}

// This frame's transitions by field: the pixels they make stand, and those
// they take from standing after each frame of the window (a pixel whose
// last transition was in frame o leaves the counts after frames before o).
void FieldCounter::gather(const PixelTracks& pixels, Kind kind, const Window& window) {
    for (std::vector<Pair>& fields : left_) spare_.push_back(std::move(fields));
    left_.clear();
    if (!arrived_.empty()) spare_.push_back(std::move(arrived_));
    arrived_.clear();
    const Stamp* stamps = pixels.stamps(kind);
    for (size_t i = 0; i < pixels.changeCount(); ++i) {
        if (!pixels.changed(i, kind)) continue;
        const PixelTracks::Change& change = pixels.change(i);
        if (arrived_.empty()) arrived_ = spareFields();
        addAround(arrived_, change.pixel, pairOf(stamps[change.pixel]));
        const Stamp before = change.before[kind];
        if (before == 0 || serialOf(before) < window.firstSerial) continue;
        const size_t top = serialOf(before) - window.firstSerial;
        while (left_.size() <= top) left_.push_back(spareFields());
        addAround(left_[top], change.pixel, pairOf(before));
    }
    for (size_t j = left_.size(); j-- > 1;) {
        for (size_t c = 0; c < left_[j].size(); ++c) left_[j - 1][c] += left_[j][c];
    }
    if (!arrived_.empty()) integrate(arrived_);
    for (std::vector<Pair>& fields : left_) integrate(fields);
}

// The pixels of a field (its array cell) standing after frame `after`, as
// this frame would leave them.
FieldCounter::Pair FieldCounter::standingAfter(int32_t cell, uint32_t after, const Window& window) const {
    Pair sum = arrived_.empty() ? 0 : arrived_[cell];
    if (standing_.empty() || after < standing_.front().after || after >= window.serial - 1) return sum;
    const std::vector<Pair>& before = standing_[after - standing_.front().after].fields;
    if (!before.empty()) sum += before[cell];
    const size_t j = after - (window.firstSerial - 1);
    if (j < left_.size()) sum -= left_[j][cell];
    return sum;
}

// Every field with what stands within the window, which is exact for those
// whose last change is older; those over a quarter that changed within the
// window are counted after their change.
void FieldCounter::judgeAll(const Window& window, std::vector<Change>& changes) {
    const uint32_t first = window.firstSerial - 1;
    const bool fromBefore = !standing_.empty() && first >= standing_.front().after && first < window.serial - 1;
    const std::vector<Pair>* before = fromBefore ? &standing_[first - standing_.front().after].fields : nullptr;
    const Pair* old = before && !before->empty() ? before->data() : nullptr;
    const Pair* gone = left_.empty() ? nullptr : left_[0].data();
    const Pair* now = arrived_.data();
    const int stride = columns_ + 1;
    Pair row[frameWidth];
    for (int y = 0; y < rows_; ++y) {
        const int base = y * stride;
        for (int x = 0; x < columns_; ++x) row[x] = now[base + x] + (old ? old[base + x] : 0) - (gone ? gone[base + x] : 0);
        bool any = false;
        for (int x = 0; x < columns_; ++x) any |= (risenIn(row[x]) > quarter_) | (fallenIn(row[x]) > quarter_);
        if (!any) continue;
        for (int x = 0; x < columns_; ++x) {
            if (risenIn(row[x]) <= quarter_ && fallenIn(row[x]) <= quarter_) continue;
            const int32_t field = y * columns_ + x;
            const Pair pair = lastChange_[field] <= first ? row[x] : standingAfter(base + x, lastChange_[field], window);
            judge(field, pair, changes);
        }
    }
}

// A field as large as the frame has one position: its pixels are counted
// from their stamps.
void FieldCounter::judgeWholeFrame(const PixelTracks& pixels, Kind kind, const Window& window, std::vector<Change>& changes) {
    const Stamp* stamps = pixels.stamps(kind);
    const Stamp after = stampOf(std::max(lastChange_[0], window.firstSerial - 1), true);
    uint32_t risen = 0, counted = 0;
    for (int i = 0; i < framePixels; ++i) {
        const uint32_t counts = stamps[i] > after;
        counted += counts;
        risen += counts & stamps[i];
    }
    judge(0, risen | (static_cast<Pair>(counted - risen) << 32), changes);
}

void FieldCounter::judge(int32_t field, Pair pair, std::vector<Change>& changes) const {
    const bool rises = risenIn(pair) > quarter_, falls = fallenIn(pair) > quarter_;
    const int8_t last = direction_[field];
    // Risen again after rising is not new: only the rest can change it.
    const bool newRise = rises && last != 1, newFall = falls && last != -1;
    if (newRise && newFall) {
        changes.push_back({field, 0});
    } else if (newRise) {
        changes.push_back({field, 1});
    } else if (newFall) {
        changes.push_back({field, -1});
    }
}

// The counts standing after each frame of the window move on by this
// frame's transitions, and this frame's own start the counts after it.
void FieldCounter::commit(const std::vector<Change>& changes, const Window& window) {
    for (const Change& c : changes) {
        lastChange_[c.field] = window.serial;
        direction_[c.field] = c.direction;
        ++counts_[c.field];
    }
    countedChanges_ += static_cast<int64_t>(changes.size());
    if (columns_ == 1 && rows_ == 1) return;
    while (!standing_.empty() && standing_.front().after + 1 < window.firstSerial) {
        if (!standing_.front().fields.empty()) spare_.push_back(std::move(standing_.front().fields));
        standing_.pop_front();
    }
    for (Standing& s : standing_) {
        if (arrived_.empty()) break;
        if (s.fields.empty()) s.fields = spareFields();
        const size_t j = s.after - (window.firstSerial - 1);
        const Pair* gone = j < left_.size() ? left_[j].data() : nullptr;
        for (size_t c = 0; c < s.fields.size(); ++c) s.fields[c] += arrived_[c] - (gone ? gone[c] : 0);
    }
    standing_.push_back({window.serial - 1, std::move(arrived_)});
    arrived_.clear();
}

void FieldCounter::forget(const std::vector<Change>& changes) {
    for (const Change& c : changes) --counts_[c.field];
    countedChanges_ -= static_cast<int64_t>(changes.size());
}

FieldCounter::Most FieldCounter::most() const {
    if (countedChanges_ == 0) return {};
    uint16_t best = 0;
    for (uint16_t count : counts_) best = std::max(best, count);
    const auto first = std::find(counts_.begin(), counts_.end(), best);
    return {best, static_cast<int32_t>(first - counts_.begin())};
}

}  // namespace flash
