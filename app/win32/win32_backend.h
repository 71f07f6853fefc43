#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "app/cli/options.h"
#include "app/win32/win32_keys.h"
#include "flash/gentle_screen.h"
#include "display/win32_display.h"
#include "shell/backend.h"
#include "shell/show_control.h"

// What the Windows program supplies to the shared start-up and frame step,
// and how its music follows the viewer's pauses and seeks. Without `music`
// (a screensaver set to silence) no music is loaded or played at all.
class Win32Backend : public Backend, public MusicFollower {
public:
    Win32Backend(HINSTANCE instance, int showCommand, const Options& options, bool music = true);

    void initialiseMusic() override;
    void loadMusic(const std::string& path) override;
    bool openDisplay() override;
    void playMusic(double startSeconds) override;
    void present(const Image& work) override;
    void flip() override;
    void pause() override;
    void playFrom(double seconds) override;

    Display& display() { return *display_; }
    WindowsKeys* keys = nullptr;  // once the show runs

private:
    HINSTANCE instance_;
    int showCommand_;
    int windowed_;
    int scale_;
    bool music_;
    void* song_ = nullptr;
    Display* display_ = nullptr;            // never deleted
    std::unique_ptr<GentleScreen> gentle_;  // --gentle: flashes over the limit are held back
};
