#pragma once
#include <windows.h>

// The program as a Windows screensaver: it is one when its own file name ends
// in ".scr" (vokdemo.scr is vokdemo.exe under another name), and then takes
// the command line Windows gives a screensaver instead of the show's options.
bool startedAsScreensaver();

// /s: full screen, looping, until a key, a click or a move of the mouse; /p:
// drawn into the preview window it is given; /c or nothing: the settings.
// The data set and the music library are read beside the program, since
// Windows starts a screensaver in another folder. Returns the exit code.
int runScreensaver(HINSTANCE instance, int showCommand);
