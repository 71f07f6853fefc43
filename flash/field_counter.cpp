#include "flash/field_counter.h"

#include <algorithm>

namespace flash {
namespace {

// A field's pixels risen in the low half of a word and fallen in the high
// half: sums and differences stay exact whatever the halves carry into each
// other, as long as neither count reaches the half's range. 16-bit halves
// serve fields below 65,536 pixels, 32-bit ones larger fields.
template <typename Pair>
constexpr int halfBits = static_cast<int>(sizeof(Pair)) * 4;
template <typename Pair>
int risenIn(Pair pair) {
    return static_cast<int>(pair & ((Pair(1) << halfBits<Pair>) - 1));
}
template <typename Pair>
int fallenIn(Pair pair) {
    return static_cast<int>(pair >> halfBits<Pair>);
}
template <typename Pair>
Pair pairOf(Stamp stamp) {
    return rose(stamp) ? Pair(1) : Pair(1) << halfBits<Pair>;
}

}  // namespace

template <>
FieldCounter::Arrays<uint32_t>& FieldCounter::arrays<uint32_t>() {
    return narrow_;
}
template <>
FieldCounter::Arrays<uint64_t>& FieldCounter::arrays<uint64_t>() {
    return wide_;
}

FieldCounter::FieldCounter(FieldSize size)
    : size_(size),
      columns_(frameWidth - size.width + 1),
      rows_(frameHeight - size.height + 1),
      quarter_(size.area() / 4),
      lastChange_(static_cast<size_t>(columns_) * rows_, 0),
      direction_(lastChange_.size(), 0),
      counts_(lastChange_.size(), 0) {}

void FieldCounter::decide(const Stamp* stamps, const Window& window, std::vector<Change>& changes) {
    if (quarter_ >= window.risen && quarter_ >= window.fallen) return;  // not even the whole frame
    if (columns_ == 1 && rows_ == 1) return judgeWholeFrame(stamps, window, changes);
    if (size_.area() < (1 << 16)) return decideWith<uint32_t>(stamps, window, changes);
    decideWith<uint64_t>(stamps, window, changes);
}

template <typename Pair>
void FieldCounter::decideWith(const Stamp* stamps, const Window& window, std::vector<Change>& changes) {
    build<Pair>(stamps, window);
    judgeAll<Pair>(window, changes);
}

// Marks the positions whose field covers the pixel.
template <typename Pair>
void FieldCounter::addAround(Pair* sums, int32_t pixel, Pair value) const {
    const int px = pixel % frameWidth, py = pixel / frameWidth, stride = columns_ + 1;
    const int x0 = std::max(0, px - size_.width + 1), x1 = std::min(px, columns_ - 1) + 1;
    const int y0 = std::max(0, py - size_.height + 1), y1 = std::min(py, rows_ - 1) + 1;
    sums[y0 * stride + x0] += value;
    sums[y0 * stride + x1] -= value;
    sums[y1 * stride + x0] -= value;
    sums[y1 * stride + x1] += value;
}

template <typename Pair>
void FieldCounter::integrate(Pair* sums) const {
    const int stride = columns_ + 1;
    for (int y = 0; y < rows_; ++y) {
        Pair* row = sums + static_cast<size_t>(y) * stride;
        Pair running = 0;
        for (int x = 0; x < columns_; ++x) row[x] = running += row[x];
        if (y == 0) continue;
        const Pair* above = row - stride;
        for (int x = 0; x < columns_; ++x) row[x] += above[x];
    }
}

// The counts standing after each frame of the window: a pixel whose last
// transition was in frame s stands after the frames before s. Marked by the
// frame of the transition, then added up from the latest down; the counts
// after the window's start are filled at once, the others when asked for.
template <typename Pair>
void FieldCounter::build(const Stamp* stamps, const Window& window) {
    Arrays<Pair>& a = arrays<Pair>();
    const size_t frames = window.serial - window.firstSerial + 1;
    a.standing.resize(frames);
    a.filled.assign(frames, false);
    for (std::vector<Pair>& fields : a.standing) fields.assign(static_cast<size_t>(rows_ + 1) * (columns_ + 1), 0);
    const Stamp oldest = stampOf(window.firstSerial, false);
    for (int32_t pixel = 0; pixel < framePixels; ++pixel) {
        if (stamps[pixel] < oldest) continue;
        addAround(a.standing[serialOf(stamps[pixel]) - window.firstSerial].data(), pixel, pairOf<Pair>(stamps[pixel]));
    }
    for (size_t j = frames - 1; j > 0; --j) {
        Pair* lower = a.standing[j - 1].data();
        const Pair* upper = a.standing[j].data();
        for (size_t c = 0; c < a.standing[j].size(); ++c) lower[c] += upper[c];
    }
    integrate(a.standing[0].data());
    a.filled[0] = true;
}

template <typename Pair>
const Pair* FieldCounter::standingAfter(size_t j) {
    Arrays<Pair>& a = arrays<Pair>();
    if (!a.filled[j]) integrate(a.standing[j].data()), a.filled[j] = true;
    return a.standing[j].data();
}

// Every field with what stands within the window, which is exact for those
// whose last change is older; those over a quarter that changed within the
// window are counted after their change.
template <typename Pair>
void FieldCounter::judgeAll(const Window& window, std::vector<Change>& changes) {
    const uint32_t first = window.firstSerial - 1;
    const int stride = columns_ + 1;
    const Pair* all = standingAfter<Pair>(0);
    for (int y = 0; y < rows_; ++y) {
        const Pair* row = all + y * stride;
        bool any = false;
        for (int x = 0; x < columns_; ++x) any |= (risenIn(row[x]) > quarter_) | (fallenIn(row[x]) > quarter_);
        if (!any) continue;
        for (int x = 0; x < columns_; ++x) {
            if (risenIn(row[x]) <= quarter_ && fallenIn(row[x]) <= quarter_) continue;
            const int32_t field = y * columns_ + x;
            const uint32_t after = std::max(lastChange_[field], first);
            judge(field, risenIn(row[x]), fallenIn(row[x]), after == first ? nullptr : standingAfter<Pair>(after - first) + y * stride + x, changes);
        }
    }
}

// A field as large as the frame has one position: its pixels are counted
// from their stamps.
void FieldCounter::judgeWholeFrame(const Stamp* stamps, const Window& window, std::vector<Change>& changes) {
    const Stamp after = stampOf(std::max(lastChange_[0], window.firstSerial - 1), true);
    uint32_t risen = 0, counted = 0;
    for (int i = 0; i < framePixels; ++i) {
        const uint32_t counts = stamps[i] > after;
        counted += counts;
        risen += counts & stamps[i];
    }
    judge(0, static_cast<int>(risen), static_cast<int>(counted - risen), changes);
}

template <typename Pair>
void FieldCounter::judge(int32_t field, int risen, int fallen, const Pair* since, std::vector<Change>& changes) const {
    if (since) risen = risenIn(*since), fallen = fallenIn(*since);
    judge(field, risen, fallen, changes);
}

void FieldCounter::judge(int32_t field, int risen, int fallen, std::vector<Change>& changes) const {
    const bool rises = risen > quarter_, falls = fallen > quarter_;
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

void FieldCounter::commit(const std::vector<Change>& changes, uint32_t serial) {
    for (const Change& c : changes) {
        lastChange_[c.field] = serial;
        direction_[c.field] = c.direction;
        ++counts_[c.field];
        taken_.push_back(c.field);
    }
    countedChanges_ += static_cast<int64_t>(changes.size());
}

void FieldCounter::forgetOldest(size_t changes) {
    for (size_t i = 0; i < changes; ++i) {
        --counts_[taken_.front()];
        taken_.pop_front();
    }
    countedChanges_ -= static_cast<int64_t>(changes);
}

FieldCounter::Most FieldCounter::most() const {
    if (countedChanges_ == 0) return {};
    uint16_t best = 0;
    for (uint16_t count : counts_) best = std::max(best, count);
    const auto first = std::find(counts_.begin(), counts_.end(), best);
    return {best, static_cast<int32_t>(first - counts_.begin())};
}

}  // namespace flash
