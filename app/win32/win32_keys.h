#pragma once
#include <windows.h>

#include <cstdint>
#include <deque>

#include "demo/demo.h"
#include "display/win32_display.h"
#include "image/image.h"
#include "shell/show_control.h"

// The show key of a key press: Space, Left, Right, Page Up or ',', Page Down
// or '.', Home, F or Alt+Enter, S, I. Held keys repeat only the seeks; Alt
// with any other key is not the show's.
ShowKey showKeyForVirtualKey(WPARAM key, bool alt, bool repeat);

// The Windows program's keys, as the SDL player's: the show's own go to the
// ShowControl; F and Alt+Enter toggle full screen, S writes the frame on the
// screen as a PNG picture into the working folder (or the program's when
// that cannot be written), I shows or hides the overlay.
class WindowsKeys {
public:
    WindowsKeys(Demo& demo, ShowControl& control, Display& display)
        : demo_(demo), control_(control), display_(display) {}

    void handle(WPARAM key, bool alt, bool repeat);

    // Counts a rendered frame for the overlay's frame rate.
    void countFrame(uint32_t nowMs);

    // What the screen shows: the work image, with the overlay drawn over a
    // copy of it when the overlay is on (the show's own image is never touched).
    const Image& picture(const Image& work);

private:
    void takeScreenshot();
    std::string overlay() const;

    Demo& demo_;
    ShowControl& control_;
    Display& display_;
    bool overlay_ = false;
    Image overlaid_;
    std::deque<uint32_t> frameTimes_;  // the frames of the last second, tick counter
};
