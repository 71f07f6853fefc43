#include "shell/show_run.h"

#include "shell/show_start.h"
#include "demo/demo.h"
#include "demo/scenes.h"

namespace headless {

uint32_t frameMilliseconds(int64_t frame, int fps) {
    return static_cast<uint32_t>(static_cast<uint64_t>(frame) * 1000u / static_cast<uint64_t>(fps));
}

int frameScene(int64_t frame, int fps) { return sceneAtMs(frameMilliseconds(frame, fps)); }

int64_t expectedFrameCount(int fps) {
    int64_t k = 0;
    while (frameMilliseconds(k, fps) <= ShowRun::timeLimitMs && frameScene(k, fps) != sceneEnd) ++k;
    return k;
}

ShowRun::ShowRun(int fps, uint32_t t0, const ShowContext& context, Backend* backend)
    : ownClock_(t0), clock_(ownClock_), backend_(backend ? *backend : quiet_), fps_(fps), t0_(t0) {
    start(context, 0.0);
}

ShowRun::ShowRun(VirtualClock& clock, const ShowContext& context, double startSeconds)
    : clock_(clock), backend_(quiet_), fps_(1), t0_(clock.now()) {
    start(context, startSeconds);
}

ShowRun::~ShowRun() = default;

void ShowRun::start(const ShowContext& context, double startSeconds) {
    ShowContext onTheClock = context;
    onTheClock.ticks = clock_.source();
    ShowStart started = startShow(backend_, onTheClock, startSeconds);
    demo_ = std::move(started.demo);
    startFailure_ = started.exitCode;
}

bool ShowRun::renderNext() {
    if (!demo_ || demo_->state->quitRequested || overran_) return false;
    int64_t next = frame_ + 1;
    uint32_t ms = frameMilliseconds(next, fps_);
    if (ms > timeLimitMs) {
        overran_ = true;
        return false;
    }
    clock_.set(t0_ + ms);
    if (!stepFrame(*demo_, backend_)) return false;
    frame_ = next;
    milliseconds_ = ms;
    return true;
}

bool ShowRun::stepAfter(uint32_t ms) {
    clock_.advance(ms);
    return stepFrame(*demo_, backend_);
}

int ShowRun::scene() const { return demo_ ? demo_->state->lastScene : -1; }
const Image& ShowRun::image() const { return demo_->state->workImage; }

RunEnd renderShow(ShowRun& run, const FrameRange& range, FrameSink& sink) {
    int64_t total = expectedFrameCount(run.fps());
    while (run.renderNext()) {
        if (range.contains(run.frame())) {
            FrameInfo info{run.frame(), run.milliseconds(), run.scene(), run.image()};
            if (!sink.frame(info)) return RunEnd::Stopped;
        }
        sink.progress(run.frame() + 1, total);
    }
    return run.overran() ? RunEnd::Overran : RunEnd::Finished;
}

}  // namespace headless
