// The Windows program: the shared start-up with the music library, the
// Display and the Demo, then the message-first loop until the quit message.
#include <windows.h>

#include "shell/show_start.h"
#include "shell/stdio_messages.h"
#include "app/win32/win32_flash_warning.h"
#include "app/win32/win32_music.h"
#include "display/win32_display.h"
#include "platform/win32_platform.h"

namespace {

// What the Windows program supplies to the shared start-up and frame step.
class Win32Backend : public Backend {
public:
    Win32Backend(HINSTANCE instance, int showCommand, int windowed)
        : instance_(instance), showCommand_(showCommand), windowed_(windowed) {}

    void initialiseMusic() override { music::init(44100, 32, 0); }
    void loadMusic(const std::string& path) override { song_ = music::loadSong(path.c_str()); }
    bool openDisplay() override {
        display_ = new Display(instance_, showCommand_, windowed_);  // never deleted
        return true;
    }
    void playMusic(double) override { music::playSong(song_); }
    void present(const Image& work) override { display_->present(work); }
    void flip() override { display_->flip(); }

private:
    HINSTANCE instance_;
    int showCommand_;
    int windowed_;
    void* song_ = nullptr;
    Display* display_ = nullptr;
};

// Only the first character of the command line counts: "1" is full screen.
int windowedFor(const char* commandLine) { return (commandLine != nullptr && commandLine[0] == '1') ? 0 : 1; }

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    static StdioMessages messages;
    static Win32Backend backend(instance, showCommand, windowedFor(commandLine));
    ShowContext context(messages);  // the data files are in the working directory
    context.ticks = win32::tickCount;
    context.keyWaiting = win32::keyPressWaiting;
    warnOfFlashes(context.data);
    ShowStart start = startShow(backend, context);
    if (!start.demo) return start.exitCode;
    Demo& demo = *start.demo.release();  // lives to the end of the process

    static MSG message;
    for (;;) {
        if (PeekMessage(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!GetMessage(&message, nullptr, 0, 0)) {
                music::stop();
                return static_cast<int>(message.wParam);
            }
            TranslateMessage(&message);
            DispatchMessage(&message);
        } else if (!stepFrame(demo, backend)) {
            // The frame that took the end step was still presented and
            // flipped; the next pass of the loop finds the quit message.
            PostQuitMessage(0);
        }
    }
}
