#include "app/win32/win32_show_loop.h"

#include <windows.h>

#include <cstdio>

#include "app/win32/win32_keys.h"
#include "app/win32/win32_music.h"
#include "shell/show_control.h"
#include "shell/show_info.h"
#include "shell/show_start.h"

namespace {

void logSync(const char* what, int scene, uint32_t showMs) {
    std::fprintf(stderr, "%s\n", syncLine(what, scene, showMs, music::heardMusicMs(), music::unheardNote()).c_str());
    std::fflush(stderr);
}

uint32_t showMsNow(const FrameClock& clock) { return clock.now() - clock.startTick; }

// With --sync-log: a line at every pause and resume, at the first frame of
// a seek and at every change of scene.
struct SyncLog {
    bool on;
    int scene = -1;
    int seeks = 0;

    void afterKey(const ShowControl& control, bool wasPaused) const {
        if (on && control.paused() != wasPaused) logSync(wasPaused ? "play" : "pause", scene, control.shownMs());
    }
    void afterFrame(const Demo& demo, const ShowControl& control) {
        if (on && control.seeks() != seeks) {
            logSync("seek", demo.state->lastScene, showMsNow(*demo.clock));
        } else if (on && demo.state->lastScene != scene) {
            logSync("scene", demo.state->lastScene, showMsNow(*demo.clock));
        }
        seeks = control.seeks();
        scene = demo.state->lastScene;
    }
};

// While the show is paused the held picture is shown again every 10 ms.
void showHeldPicture(Demo& demo, Win32Backend& backend) {
    backend.present(demo.state->workImage);
    backend.flip();
    Sleep(10);
}

}  // namespace

int runShow(Demo& demo, Win32Backend& backend, bool syncLog) {
    ShowControl control(demo, backend);
    WindowsKeys keys(demo, control, backend.display());
    SyncLog log{syncLog};
    backend.keys = &keys;
    backend.display().onKey = [&](WPARAM key, bool alt, bool repeat) {
        const bool wasPaused = control.paused();
        keys.handle(key, alt, repeat);
        log.afterKey(control, wasPaused);
    };
    MSG message;
    for (;;) {
        if (PeekMessage(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!GetMessage(&message, nullptr, 0, 0)) break;
            TranslateMessage(&message);
            DispatchMessage(&message);
        } else if (!control.frameDue()) {
            showHeldPicture(demo, backend);
        } else {
            // The frame that takes the end step is still presented and
            // flipped; the next pass of the loop finds the quit message.
            if (!stepFrame(demo, backend)) PostQuitMessage(0);
            keys.countFrame(GetTickCount());
            log.afterFrame(demo, control);
        }
    }
    backend.display().onKey = nullptr;  // nothing here outlives the loop
    backend.keys = nullptr;
    return static_cast<int>(message.wParam);
}
