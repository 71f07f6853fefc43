#pragma once
#include <cstdint>
#include <string>

// The command line Windows gives a screensaver, in any case and with '/' or
// '-': /s shows it, /p HWND or /p:HWND draws it into a preview window, /c,
// /c:HWND or nothing opens its settings. Portable, so that it is tested on
// every build.
struct ScreensaverArguments {
    enum class Mode { Show, Preview, Settings };
    Mode mode = Mode::Settings;
    uint64_t window = 0;  // the preview's parent, or the settings' owner; 0: none
};

// False with a one-line `error` for anything else, and for /p without a
// window handle (a whole decimal number, as Windows writes it).
bool parseScreensaverArguments(int argc, char** argv, ScreensaverArguments& arguments, std::string& error);
