#include "app/cli/progress_line.h"

#include <unistd.h>

#include <cinttypes>
#include <cstdio>

ProgressLine::ProgressLine(int64_t totalFrames, int fps)
    : total_(totalFrames > 0 ? totalFrames : 1),
      fps_(fps),
      shown_(isatty(STDERR_FILENO) == 1),
      start_(Clock::now()),
      last_(start_) {}

double ProgressLine::elapsedSeconds() const {
    return std::chrono::duration<double>(Clock::now() - start_).count();
}

void ProgressLine::update(int64_t framesDone) {
    if (!shown_) return;
    Clock::time_point now = Clock::now();
    if (framesDone < total_ && now - last_ < std::chrono::milliseconds(200)) return;
    last_ = now;
    constexpr int barWidth = 30;
    int filled = static_cast<int>(framesDone * barWidth / total_);
    if (filled > barWidth) filled = barWidth;
    char bar[barWidth + 1];
    for (int i = 0; i < barWidth; ++i) bar[i] = i < filled ? '#' : '-';
    bar[barWidth] = '\0';
    double seconds = elapsedSeconds();
    double speed = seconds > 0 ? (static_cast<double>(framesDone) / fps_) / seconds : 0.0;
    double left = framesDone > 0 ? seconds * static_cast<double>(total_ - framesDone) / framesDone : 0.0;
    if (left < 0) left = 0;
    std::fprintf(stderr, "\r[%s] %" PRId64 "/%" PRId64 " frames, %.1fx real time, %.0f s left  ", bar, framesDone,
                 total_, speed, left);
    printed_ = true;
}

void ProgressLine::finish() {
    if (printed_) std::fputc('\n', stderr);
    printed_ = false;
}
