#include "shell/show_control.h"

#include <algorithm>

#include "demo/scenes.h"
#include "demo/show_seek.h"
#include "shell/show_start.h"

void ShowControl::press(ShowKey key) {
    const uint32_t now = shownMs();
    const int scene = sceneAtMs(now);  // the end step counts as the one after the last
    switch (key) {
        case ShowKey::Pause: togglePause(); break;
        case ShowKey::Back: seekTo(static_cast<int64_t>(now) - stepMs); break;
        case ShowKey::Forward: seekTo(static_cast<int64_t>(now) + stepMs); break;
        case ShowKey::PreviousScene: seekTo(sceneStartMs(std::max(scene - 1, 0))); break;
        case ShowKey::NextScene: seekTo(sceneStartMs(std::min(scene + 1, sceneCount))); break;
        case ShowKey::Beginning: seekTo(0); break;
        default: break;
    }
}

void ShowControl::togglePause() {
    if (demo_.state->quitRequested) return;
    if (!paused_) {
        paused_ = true;
        heldMs_ = shownMs();
        music_.pause();
        return;
    }
    // The frame after the pause carries on from the held picture's time,
    // with the pause not counted in its delta.
    paused_ = false;
    seekPending_ = false;
    demo_.clock->moveTo(heldMs_);
    music_.playFrom(heldMs_ / 1000.0);
}

void ShowControl::seekTo(int64_t ms) {
    if (demo_.state->quitRequested) return;
    const uint32_t target = static_cast<uint32_t>(std::clamp<int64_t>(ms, 0, showEndMs()));
    lastSeek_ = {shownMs(), target};
    demo_.restart(target);
    ++seeks_;
    if (paused_) {
        heldMs_ = target;
        seekPending_ = true;
        return;
    }
    music_.playFrom(target / 1000.0);
}

bool ShowControl::step(Backend& backend) {
    demo_.clock->tick();
    if (loop_ && static_cast<uint32_t>(demo_.clock->lastElapsed) >= showEndMs()) {
        demo_.restart(0);
        music_.playFrom(0.0);
        ++loops_;
        demo_.clock->tick();
    }
    return showFrame(demo_, backend);
}

bool ShowControl::frameDue() {
    if (!paused_) return true;
    if (!seekPending_) return false;
    seekPending_ = false;
    demo_.clock->moveTo(heldMs_);  // the one frame is drawn at the held time
    return true;
}
