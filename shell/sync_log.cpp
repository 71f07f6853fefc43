#include "shell/sync_log.h"

#include <cstdio>

#include "demo/scenes.h"

namespace {

uint32_t showMsNow(const FrameClock& clock) { return clock.now() - clock.startTick; }

}  // namespace

void SyncLog::line(const char* what, int scene, uint32_t showMs) const {
    const double musicMs = heardMusicMs_ ? heardMusicMs_() : -1;
    if (musicMs < 0) {
        std::fprintf(stderr, "vokdemo: sync %s %d show %u ms, %s\n", what, scene, showMs, musicNote_);
    } else {
        std::fprintf(stderr, "vokdemo: sync %s %d show %u ms music %.1f ms offset %.1f ms\n", what, scene, showMs,
                     musicMs, showMs - musicMs);
    }
    std::fflush(stderr);
}

void SyncLog::afterKey(const ShowControl& control, bool wasPaused, int seeksBefore) const {
    if (!on_) return;
    if (control.seeks() != seeksBefore) {
        const SeekLanding& seek = control.lastSeek();
        std::fprintf(stderr, "vokdemo: sync seek %d show %u ms from %u ms\n", sceneAtMs(seek.toMs), seek.toMs,
                     seek.fromMs);
        std::fflush(stderr);
    }
    if (control.paused() != wasPaused) line(wasPaused ? "play" : "pause", scene_, control.shownMs());
}

void SyncLog::afterFrame(const Demo& demo, const ShowControl& control) {
    const int shown = demo.state->lastScene;
    if (on_ && !control.paused()) {
        if (control.loops() != loops_) {
            line("loop", shown, showMsNow(*demo.clock));
        } else if (control.seeks() != seeks_) {
            line("landed", shown, showMsNow(*demo.clock));
        } else if (shown != scene_) {
            line("scene", shown, showMsNow(*demo.clock));
        }
    }
    seeks_ = control.seeks();
    loops_ = control.loops();
    scene_ = shown;
}
