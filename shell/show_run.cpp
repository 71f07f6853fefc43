#include "shell/show_run.h"

#include "shell/show_start.h"
#include "demo/demo.h"
#include "demo/scenes.h"
#include "platform/platform.h"

namespace headless {
namespace {

// The virtual tick counter: every read returns the value of the moment.
uint32_t virtualTick = 0;
uint32_t readVirtualTick() { return virtualTick; }

}  // namespace

uint32_t frameMilliseconds(int64_t frame, int fps) {
    return static_cast<uint32_t>(static_cast<uint64_t>(frame) * 1000u / static_cast<uint64_t>(fps));
}

int frameScene(int64_t frame, int fps) { return sceneAtMs(frameMilliseconds(frame, fps)); }

int64_t expectedFrameCount(int fps) {
    int64_t k = 0;
    while (frameMilliseconds(k, fps) <= ShowRun::timeLimitMs && frameScene(k, fps) != sceneEnd) ++k;
    return k;
}

ShowRun::ShowRun(int fps, uint32_t t0, MessageSink& messages, Backend* backend)
    : backend_(backend ? *backend : quiet_), fps_(fps), t0_(t0) {
    virtualTick = t0;
    platform::setTickCounter(readVirtualTick);
    ShowStart start = startShow(backend_, messages);
    demo_ = std::move(start.demo);
    startFailure_ = start.exitCode;
}

ShowRun::~ShowRun() {
    demo_.reset();
    platform::setTickCounter(nullptr);
}

bool ShowRun::renderNext() {
    if (!demo_ || demo_->quitRequested || overran_) return false;
    int64_t next = frame_ + 1;
    uint32_t ms = frameMilliseconds(next, fps_);
    if (ms > timeLimitMs) {
        overran_ = true;
        return false;
    }
    virtualTick = t0_ + ms;
    if (!stepFrame(*demo_, backend_)) return false;
    frame_ = next;
    milliseconds_ = ms;
    return true;
}

int ShowRun::scene() const { return demo_ ? demo_->lastScene : -1; }
const Image& ShowRun::image() const { return *demo_->workImage; }

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
