#include "app/sdl/frame_pacer.h"

FramePacer::FramePacer(double refreshHz, bool presentWaits)
    : period_(1.0 / refreshHz), watching_(presentWaits), pacing_(!presentWaits) {}

double FramePacer::afterFrame(double now) {
    if (watching_) {
        if (watchStart_ < 0) watchStart_ = now;
        ++framesWatched_;
        const double watched = now - watchStart_;
        if (watched < watchSeconds) return 0.0;
        watching_ = false;
        pacing_ = framesWatched_ > 1.5 * watched / period_;
    }
    if (!pacing_) return 0.0;
    const double due = started_ ? lastStart_ + period_ : now;
    started_ = true;
    if (now >= due) {
        lastStart_ = now;  // late: the next frame starts at once, the schedule from here
        return 0.0;
    }
    lastStart_ = due;
    return due - now;
}
