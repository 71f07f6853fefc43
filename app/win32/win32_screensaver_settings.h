#pragma once
#include <windows.h>

// The screensaver's one setting, the music on or off, kept for the user in
// the registry (HKEY_CURRENT_USER\Software\vokdemo\Screensaver, "Sound"),
// and the dialog that changes it.
namespace screensaver_settings {

bool soundOn();  // on until the dialog turns it off
void setSoundOn(bool on);

// The settings dialog, owned by `owner` (may be null); OK keeps the choice,
// Cancel and Escape leave it as it was.
void showDialog(HINSTANCE instance, HWND owner);

}  // namespace screensaver_settings
