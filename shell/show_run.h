#pragma once
#include <cstdint>
#include <memory>

#include "shell/backend.h"
#include "common/messages.h"
#include "image/image.h"

class Demo;

// The show rendered frame by frame with a virtual clock, for the headless
// renderer, the capture and the browser's check. Portable: no platform
// header, no library beyond the core, so every build uses it as it is.
namespace headless {

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
// tick counter reads `t0` during the whole start-up; before frame k it reads
// t0 + frameMilliseconds(k). The tick counter of the platform is the virtual
// one while the object lives, so only one run exists at a time.
class ShowRun {
public:
    ShowRun(int fps, uint32_t t0, MessageSink& messages, Backend* backend = nullptr);
    ~ShowRun();

    // Start-up ended the show (a missing mesh): no frame will be rendered and
    // the program ends with this code. 0 when the show started.
    int startFailure() const { return startFailure_; }
    ShowRun(const ShowRun&) = delete;
    ShowRun& operator=(const ShowRun&) = delete;

    // Renders the next frame. False when it took the end step (that frame
    // is not part of the show) or when the show ran past the time limit.
    bool renderNext();

    int fps() const { return fps_; }
    int64_t frame() const { return frame_; }
    uint32_t milliseconds() const { return milliseconds_; }
    int scene() const;
    const Image& image() const;
    bool overran() const { return overran_; }  // no end step within the limit

    // A show that has not ended after this much show time is broken.
    static constexpr uint32_t timeLimitMs = 600000;

private:
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
