#pragma once
#include <chrono>
#include <cstdint>

// The progress bar of the headless renderer and the capture on standard
// error, shown only when standard error is a terminal: frames done of how
// many, speed as a multiple of real time, time left.
class ProgressLine {
public:
    ProgressLine(int64_t totalFrames, int fps);

    void update(int64_t framesDone);
    void finish();  // ends the bar's line
    double elapsedSeconds() const;

private:
    using Clock = std::chrono::steady_clock;
    int64_t total_;
    int fps_;
    bool shown_;
    bool printed_ = false;
    Clock::time_point start_, last_;
};
