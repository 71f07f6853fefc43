#include "flash/gentle_screen.h"

#include <cstring>

const Image& GentleScreen::show(const Image& work, uint32_t nowMs) {
    held_.clear();
    analyser_.addFrameHoldingBack(work.pixels, nowMs, held_);
    uint32_t* shown = reinterpret_cast<uint32_t*>(shown_.pixels);
    kept_.resize(held_.size());
    for (size_t i = 0; i < held_.size(); ++i) kept_[i] = shown[held_[i]];
    std::memcpy(shown_.pixels, work.pixels, screenBytes);
    for (size_t i = 0; i < held_.size(); ++i) shown[held_[i]] = kept_[i];
    return shown_;
}
