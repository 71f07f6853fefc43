// The Windows program: starts the music, opens the Display, loads the Demo and
// runs the message-first loop until the quit message.
#include <windows.h>

#include "app/win32_music.h"
#include "demo/demo.h"
#include "display/win32_display.h"
#include "platform/win32_platform.h"
#include "wire3d/math3d.h"

namespace {

void* song = nullptr;
Display* display = nullptr;
Demo* demo = nullptr;
MSG message;

// Only the first character of the command line counts: "1" is full screen.
int windowedFor(const char* commandLine) { return (commandLine != nullptr && commandLine[0] == '1') ? 0 : 1; }

void renderOneFrame() {
    demo->clock->tick();
    demo->renderFrame();
    // The frame that takes the end step is still presented and flipped; the
    // next pass of the loop finds the quit message.
    if (demo->quitRequested) PostQuitMessage(0);
    display->present(*demo->workImage);
    display->flip();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    win32::installPlatform();
    music::init(44100, 32, 0);
    song = music::loadSong("zumber.xm");
    display = new Display(instance, showCommand, windowedFor(commandLine));
    demo = new Demo();  // the clock is made last: time zero of the show
    music::playSong(song);
    fillAngleTables();

    for (;;) {
        if (PeekMessage(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!GetMessage(&message, nullptr, 0, 0)) {
                music::stop();
                return static_cast<int>(message.wParam);
            }
            TranslateMessage(&message);
            DispatchMessage(&message);
        } else {
            renderOneFrame();
        }
    }
}
