#include "app/win32/win32_screensaver.h"

#include <cstdlib>
#include <string>

#include "app/cli/options.h"
#include "app/cli/screensaver_arguments.h"
#include "app/win32/win32_backend.h"
#include "app/win32/win32_console.h"
#include "app/win32/win32_music.h"
#include "app/win32/win32_preview.h"
#include "app/win32/win32_screensaver_settings.h"
#include "app/win32/win32_show_loop.h"
#include "platform/data_location.h"
#include "platform/win32_platform.h"
#include "shell/flash_verdict.h"
#include "shell/show_start.h"
#include "shell/stdio_messages.h"

namespace {

// How far the mouse may move before the screensaver ends: less than a
// table's tremor, more than a pixel of noise.
constexpr int mouseSlack = 4;

// The screensaver's end: any key, any click, the mouse more than the slack
// away from where it was when the show began.
class SaverInput {
public:
    SaverInput() { GetCursorPos(&start_); }

    bool ends(UINT message) const {
        switch (message) {
            case WM_KEYDOWN:
            case WM_SYSKEYDOWN:
            case WM_LBUTTONDOWN:
            case WM_RBUTTONDOWN:
            case WM_MBUTTONDOWN: return true;
            case WM_MOUSEMOVE: return moved();
            default: return false;
        }
    }

private:
    bool moved() const {
        POINT now = start_;
        GetCursorPos(&now);
        return std::abs(now.x - start_.x) > mouseSlack || std::abs(now.y - start_.y) > mouseSlack;
    }

    POINT start_ = {};
};

// The data set beside the program, or a line that says why there is none.
bool findDataBesideProgram(std::string& directory) {
    DataPlaces places;
    places.option = installedDataDirectory();
    const DataLocation data = locateDataSet(places);
    if (data.source == DataLocation::Source::None) {
        console::tell("vokdemo: " + data.error + "\n", console::Kind::Error);
        return false;
    }
    directory = data.directory;
    return true;
}

// /s: the show full screen and looping; the music as the settings say. No
// one is there to answer a warning, so a data set whose flash verdict fails
// plays with its flashes held back, as --gentle plays it.
int showFullScreen(HINSTANCE instance, int showCommand, const ShowContext& context) {
    Options options;
    options.fullscreen = true;
    options.gentle = dataSetFailsFlashCheck(context.data);
    static Win32Backend* backend = new Win32Backend(instance, showCommand, options, screensaver_settings::soundOn());
    ShowStart start = startShow(*backend, context);
    if (!start.demo) return start.exitCode;
    Demo& demo = *start.demo.release();  // lives to the end of the process
    Display& display = backend->display();
    static SaverInput input;
    display.onMessage = [&display](UINT message, WPARAM, LPARAM) {
        if (!input.ends(message)) return false;
        display.running = 0;
        PostMessage(display.window, WM_CLOSE, 0, 0);
        return true;
    };
    const int exitCode = runShow(demo, *backend, ShowLoopSettings{true, false});
    music::stop();
    return exitCode;
}

int previewIn(HINSTANCE instance, uint64_t handle, const ShowContext& context) {
    const HWND parent = reinterpret_cast<HWND>(static_cast<uintptr_t>(handle));
    if (!IsWindow(parent)) {
        console::tell("vokdemo: /p " + std::to_string(handle) + " is not a window\n", console::Kind::Error);
        return 2;
    }
    return runPreview(instance, parent, context, dataSetFailsFlashCheck(context.data));
}

}  // namespace

bool startedAsScreensaver() {
    char self[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    if (length < 4 || length >= MAX_PATH) return false;
    return lstrcmpiA(self + length - 4, ".scr") == 0;
}

int runScreensaver(HINSTANCE instance, int showCommand) {
    ScreensaverArguments arguments;
    std::string error, dataDirectory;
    if (!parseScreensaverArguments(__argc, __argv, arguments, error)) {
        console::tell("vokdemo: " + error + "\n", console::Kind::Error);
        return 2;
    }
    if (arguments.mode == ScreensaverArguments::Mode::Settings) {
        const HWND owner = reinterpret_cast<HWND>(static_cast<uintptr_t>(arguments.window));
        screensaver_settings::showDialog(instance, IsWindow(owner) ? owner : nullptr);
        return 0;
    }
    if (!findDataBesideProgram(dataDirectory)) return 1;
    static StdioMessages messages;
    static ShowContext context(messages, DataFolder(dataDirectory));
    context.ticks = win32::tickCount;
    context.keyWaiting = win32::keyPressWaiting;
    if (arguments.mode == ScreensaverArguments::Mode::Preview) return previewIn(instance, arguments.window, context);
    return showFullScreen(instance, showCommand, context);
}
