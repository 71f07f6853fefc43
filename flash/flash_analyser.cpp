#include "flash/flash_analyser.h"

#include <algorithm>

namespace flash {

Status wcagStatus(const FrameFigures& figures) { return statusOf(figures.wcag.most()); }

Status broadcastStatus(const FrameFigures& figures) {
    return figures.extendedMs >= extendedLimitMs ? Status::Fail : statusOf(figures.broadcast.most());
}

uint32_t frameMs(int64_t frame, int fps) {
    return static_cast<uint32_t>(static_cast<uint64_t>(frame) * 1000u / static_cast<uint64_t>(fps));
}

FlashAnalyser::FlashAnalyser(FieldSize field, uint32_t spanMs)
    : fields_{{FieldCounter(field), FieldCounter(field)}, {FieldCounter(wholeScreen), FieldCounter(wholeScreen)}},
      spanMs_(spanMs) {
    // Room for a change of every field, touched now rather than at the
    // first scene cut.
    for (int r = 0; r < readingCount; ++r) {
        for (int k = 0; k < kindCount; ++k) {
            decided_[r][k].resize(static_cast<size_t>(fields_[r][k].columns()) * fields_[r][k].rows());
            decided_[r][k].clear();
        }
    }
}

FrameFigures FlashAnalyser::addFrame(const uint8_t* bgra, uint32_t timeMs) {
    const uint32_t durationMs = begin(bgra, timeMs);
    return finish(lastMs_, durationMs);
}

FrameFigures FlashAnalyser::addFrameHoldingBack(const uint8_t* bgra, uint32_t timeMs, std::vector<int32_t>& held) {
    pixels_.keepUndo(true);
    const uint32_t durationMs = begin(bgra, timeMs);
    while (holdBackOverflows(durationMs, held)) decideAll();
    return finish(lastMs_, durationMs);
}

// The pixels' transitions of the frame and the fields' changes they make,
// not yet taken; the frame's duration (since the frame before) in ms.
uint32_t FlashAnalyser::begin(const uint8_t* bgra, uint32_t timeMs) {
    if (serial_ > 0 && static_cast<int32_t>(timeMs - lastMs_) < 0) timeMs = lastMs_;
    const uint32_t durationMs = serial_ > 0 ? timeMs - lastMs_ : 0;
    lastMs_ = timeMs;
    ++serial_;
    leaveSecond(timeMs);
    second_.push_back({serial_, timeMs, {}, {}});
    pixels_.step(bgra, serial_);
    decideAll();
    return durationMs;
}

// Frames a second old or more leave the window: their fields' changes no
// longer count, and neither do the stamps they gave.
void FlashAnalyser::leaveSecond(uint32_t timeMs) {
    while (!second_.empty() && timeMs - second_.front().timeMs >= spanMs_) {
        SecondFrame& old = second_.front();
        for (int r = 0; r < readingCount; ++r)
            for (int k = 0; k < kindCount; ++k) fields_[r][k].forgetOldest(old.changes[r][k]);
        second_.pop_front();
    }
}

// The frames of the last 50 ms, this one among them, with their transitions,
// which bound the pixels that still stand where one of them took them.
Window FlashAnalyser::together(Kind kind) const {
    Window window{serial_, serial_, 0, 0};
    window.fallen = pixels_.transitions(kind, false), window.risen = pixels_.transitions(kind, true);
    for (auto frame = second_.rbegin() + 1; frame != second_.rend() && lastMs_ - frame->timeMs < togetherMs; ++frame) {
        window.firstSerial = frame->serial;
        window.fallen += frame->transitions[kind][0];
        window.risen += frame->transitions[kind][1];
    }
    return window;
}

void FlashAnalyser::decideAll() {
    for (int k = 0; k < kindCount; ++k) {
        const Kind kind = static_cast<Kind>(k);
        const Window window = together(kind);
        for (int r = 0; r < readingCount; ++r) {
            decided_[r][k].clear();
            fields_[r][k].decide(pixels_.stamps(kind), window, decided_[r][k]);
        }
    }
}

// How long frames held 4 to 6 whole-screen changes within the 5 s that end
// at `timeMs`, this frame not counted.
uint32_t FlashAnalyser::flashingMs(uint32_t timeMs) const {
    uint32_t total = flashingMs_;
    for (const FlashingFrame& f : flashing_) {
        if (timeMs - f.timeMs < extendedWindowMs) break;
        total -= f.durationMs;
    }
    return total;
}

// A change goes over the limit when its field already made 6 in the second.
// On the whole screen, a change that makes 4 or more is let through only
// while such seconds have lasted less than 3 s of the last 5: the changes
// let through before the limit last at most another second, so extended
// flashing never adds up to 4 s.
bool FlashAnalyser::wouldOverflow(Reading reading, Kind kind, const FieldCounter::Change& change,
                                  uint32_t durationMs) const {
    const int after = fields_[reading][kind].count(change.field) + 1;
    if (after > transitionLimit) return true;
    if (reading != Broadcast || after < warningFrom) return false;
    return flashingMs(lastMs_) + durationMs + spanMs_ >= extendedLimitMs;
}

// Holds back the pixels whose transitions make a change that would go over
// the limit: those of its kind inside its field, all of its kind on the
// whole screen. False when nothing more had to be held.
bool FlashAnalyser::holdBackOverflows(uint32_t durationMs, std::vector<int32_t>& held) {
    const size_t changes = pixels_.changeCount();
    std::vector<uint8_t> hold(changes, 0);
    for (int k = 0; k < kindCount; ++k) {
        const Kind kind = static_cast<Kind>(k);
        for (const FieldCounter::Change& c : decided_[Broadcast][k]) {
            if (!wouldOverflow(Broadcast, kind, c, durationMs)) continue;
            for (size_t i = 0; i < changes; ++i) hold[i] |= pixels_.changed(i, kind);
        }
        Changes over;
        for (const FieldCounter::Change& c : decided_[Wcag][k])
            if (wouldOverflow(Wcag, kind, c, durationMs)) over.push_back(c);
        if (!over.empty()) holdBackInFields(kind, over, hold);
    }
    bool any = false;
    for (size_t i = 0; i < changes; ++i) {
        if (!hold[i] || (!pixels_.changed(i, General) && !pixels_.changed(i, Red))) continue;
        pixels_.holdBack(i);
        held.push_back(pixels_.change(i).pixel);
        any = true;
    }
    return any;
}

// Marks the changes of `kind` at pixels inside any of the fields in `over`:
// a summed-area table over the field positions answers, for a pixel, whether
// any position whose field covers it is among them.
void FlashAnalyser::holdBackInFields(Kind kind, const Changes& over, std::vector<uint8_t>& hold) const {
    const FieldCounter& fields = fields_[Wcag][kind];
    const int columns = fields.columns(), rows = fields.rows(), stride = columns + 1;
    std::vector<int32_t> table(static_cast<size_t>(rows + 1) * stride, 0);
    for (const FieldCounter::Change& c : over) table[(c.field / columns + 1) * stride + c.field % columns + 1] = 1;
    for (int y = 1; y <= rows; ++y)
        for (int x = 1; x <= columns; ++x)
            table[y * stride + x] += table[(y - 1) * stride + x] + table[y * stride + x - 1] - table[(y - 1) * stride + x - 1];
    for (size_t i = 0; i < pixels_.changeCount(); ++i) {
        if (!pixels_.changed(i, kind)) continue;
        const int px = pixels_.change(i).pixel % frameWidth, py = pixels_.change(i).pixel / frameWidth;
        const int x0 = std::max(0, px - fields.size().width + 1), x1 = std::min(px, columns - 1) + 1;
        const int y0 = std::max(0, py - fields.size().height + 1), y1 = std::min(py, rows - 1) + 1;
        if (x0 >= x1 || y0 >= y1) continue;
        if (table[y1 * stride + x1] - table[y0 * stride + x1] - table[y1 * stride + x0] + table[y0 * stride + x0] > 0) hold[i] = 1;
    }
}

// Takes the frame's changes and gives its figures.
FrameFigures FlashAnalyser::finish(uint32_t timeMs, uint32_t durationMs) {
    SecondFrame& frame = second_.back();
    for (int k = 0; k < kindCount; ++k)
        for (int risen = 0; risen < 2; ++risen) frame.transitions[k][risen] = pixels_.transitions(static_cast<Kind>(k), risen);
    for (int r = 0; r < readingCount; ++r) {
        for (int k = 0; k < kindCount; ++k) {
            fields_[r][k].commit(decided_[r][k], serial_);
            frame.changes[r][k] = decided_[r][k].size();
        }
    }
    FrameFigures figures;
    const FieldCounter::Most general = fields_[Wcag][General].most(), red = fields_[Wcag][Red].most();
    figures.wcag = {general.changes, red.changes};
    const FieldCounter::Most& worst = red.changes > general.changes ? red : general;
    if (worst.field >= 0) {
        figures.fieldX = worst.field % fields_[Wcag][General].columns();
        figures.fieldY = worst.field / fields_[Wcag][General].columns();
    }
    figures.broadcast = {fields_[Broadcast][General].count(0), fields_[Broadcast][Red].count(0)};
    flashingMs_ = flashingMs(timeMs);
    while (!flashing_.empty() && timeMs - flashing_.front().timeMs >= extendedWindowMs) flashing_.pop_front();
    if (figures.broadcast.most() >= warningFrom && figures.broadcast.most() <= transitionLimit) {
        flashing_.push_back({timeMs, durationMs});
        flashingMs_ += durationMs;
    }
    figures.extendedMs = flashingMs_;
    figures.changedPixels = pixels_.pixelsMoved();
    return figures;
}

}  // namespace flash
