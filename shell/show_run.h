#pragma once
#include <cstdint>
#include <memory>

#include "common/show_context.h"
#include "image/image.h"
#include "shell/backend.h"

class Demo;

// The show rendered frame by frame with a virtual clock, for the headless
// renderer, the capture, the kit, the browser's check and the tests. Portable:
// no platform header, no library beyond the core, so every build uses it as
// it is. This is the one virtual clock of the project.
namespace headless {

// A millisecond counter that reads what it was last set to; the show's tick
// source while a ShowRun runs on it.
class VirtualClock {
public:
    explicit VirtualClock(uint32_t ticks = 0) : ticks_(ticks) {}
    uint32_t now() const { return ticks_; }
    void set(uint32_t ticks) { ticks_ = ticks; }
    void advance(uint32_t ms) { ticks_ += ms; }
    TickSource source() {
        return [this] { return ticks_; };
    }

private:
    uint32_t ticks_;
};

// Milliseconds since the clock's start at which frame k is rendered:
// floor(k * 1000 / fps), in unsigned 32-bit arithmetic.
uint32_t frameMilliseconds(int64_t frame, int fps);

// The number of frames the show outputs at `fps`: the frames before the first
// one whose time reaches the end step. Computed from the scene table alone.
int64_t expectedFrameCount(int fps);

// The scene that frame k shows at `fps` (sceneEnd once the show has ended),
// from the scene table alone.
int frameScene(int64_t frame, int fps);

// Frames from `first` to `last`, both included.
struct FrameRange {
    int64_t first = 0;
    int64_t last = INT64_MAX;
    bool contains(int64_t frame) const { return frame >= first && frame <= last; }
};

struct FrameInfo {
    int64_t index;          // k, from 0
    uint32_t milliseconds;  // since the clock's start
    int scene;              // 0..13
    const Image& image;     // the work image, 320x240 BGRA
};

// Receives the frames of a run. frame() returns false to stop the run early
// (an output error); progress() is called after every rendered frame.
class FrameSink {
public:
    virtual ~FrameSink() = default;
    virtual bool frame(const FrameInfo& info) = 0;
    virtual void progress(int64_t framesDone, int64_t framesTotal) {
        (void)framesDone;
        (void)framesTotal;
    }
};

// One show, from a fresh Demo to its end step, through the shared start-up
// and frame step with `backend` (no music and no screen by default). The
// show reads the context's data folder, messages and key poll, and the run's
// own virtual clock: it reads `t0` during the whole start-up and
// t0 + frameMilliseconds(k) before frame k. Runs are independent of each
// other: several may exist at once, each with its clock and data folder.
class ShowRun {
public:
    ShowRun(int fps, uint32_t t0, const ShowContext& context, Backend* backend = nullptr);
    // A show on a clock the caller moves (tests that let time pass while the
    // show loads, or between frames at will), begun `startSeconds` in as
    // `--start` begins it. Frames come from stepAfter.
    ShowRun(VirtualClock& clock, const ShowContext& context, double startSeconds = 0.0);
    ~ShowRun();

    // Start-up ended the show (a missing mesh): no frame will be rendered and
    // the program ends with this code. 0 when the show started.
    int startFailure() const { return startFailure_; }
    ShowRun(const ShowRun&) = delete;
    ShowRun& operator=(const ShowRun&) = delete;

    // Renders the next frame. False when it took the end step (that frame
    // is not part of the show) or when the show ran past the time limit.
    bool renderNext();
    // Lets `ms` pass on the clock, then runs one frame step. False once the
    // show has taken its end step.
    bool stepAfter(uint32_t ms);

    Demo& demo() { return *demo_; }  // only when the show started
    VirtualClock& clock() { return clock_; }

    int fps() const { return fps_; }
    int64_t frame() const { return frame_; }
    uint32_t milliseconds() const { return milliseconds_; }
    int scene() const;
    const Image& image() const;
    bool overran() const { return overran_; }  // no end step within the limit

    // A show that has not ended after this much show time is broken.
    static constexpr uint32_t timeLimitMs = 600000;

private:
    void start(const ShowContext& context, double startSeconds);

    VirtualClock ownClock_;
    VirtualClock& clock_;
    Backend quiet_;
    Backend& backend_;
    std::unique_ptr<Demo> demo_;
    int startFailure_ = 0;
    int fps_;
    uint32_t t0_;
    int64_t frame_ = -1;
    uint32_t milliseconds_ = 0;
    bool overran_ = false;
};

enum class RunEnd { Finished, Stopped, Overran };

// Renders the frames of `run` to its end and hands those in `range` to
// `sink`. The run is made first, so that outputs can be opened only once
// every asset has loaded.
RunEnd renderShow(ShowRun& run, const FrameRange& range, FrameSink& sink);

}  // namespace headless
