#pragma once

// Keeps the live loop from making frames faster than the display shows them
// where presenting does not wait for the refresh (a virtual X server, a
// driver with vsync forced off, a minimised window).
//
// For the first quarter second it only watches: when frames come more than
// half as fast again as the refresh rate, presenting does not wait, and from
// then each frame starts one refresh period after the one before. A late
// frame starts the schedule afresh rather than hurrying to catch up.
class FramePacer {
public:
    FramePacer(double refreshHz, bool presentWaits);

    // Called when a frame has been shown, with a steady time in seconds;
    // returns how long to sleep before the next frame.
    double afterFrame(double now);
    bool pacing() const { return pacing_; }

    static constexpr double watchSeconds = 0.25;

private:
    double period_;
    bool watching_;
    bool pacing_ = false;
    double watchStart_ = -1.0;
    int framesWatched_ = 0;
    bool started_ = false;
    double lastStart_ = 0.0;  // when the frame being made was due to start
};
