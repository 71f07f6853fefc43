#include "app/win32/win32_show_loop.h"

#include <windows.h>

#include "app/win32/win32_keys.h"
#include "app/win32/win32_music.h"
#include "shell/show_control.h"
#include "shell/sync_log.h"

namespace {

// While the show is paused the held picture is shown again every 10 ms.
void showHeldPicture(Demo& demo, Win32Backend& backend) {
    backend.present(demo.state->workImage);
    backend.flip();
    Sleep(10);
}

}  // namespace

int runShow(Demo& demo, Win32Backend& backend, const ShowLoopSettings& settings) {
    ShowControl control(demo, backend);
    control.setLoop(settings.loop);
    WindowsKeys keys(demo, control, backend.display());
    SyncLog log(settings.syncLog, music::heardMusicMs, music::unheardNote());
    backend.keys = &keys;
    backend.display().onKey = [&](WPARAM key, bool alt, bool repeat) {
        const bool wasPaused = control.paused();
        const int seeksBefore = control.seeks();
        keys.handle(key, alt, repeat);
        log.afterKey(control, wasPaused, seeksBefore);
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
            if (!control.step(backend)) PostQuitMessage(0);
            keys.countFrame(GetTickCount());
            log.afterFrame(demo, control);
        }
    }
    backend.display().onKey = nullptr;  // nothing here outlives the loop
    backend.keys = nullptr;
    return static_cast<int>(message.wParam);
}
