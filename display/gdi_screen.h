#pragma once
#include <windows.h>

#include <vector>

#include "display/pixel_format.h"
#include "display/screen_scale.h"
#include "image/image.h"

// The frames through GDI, for where DirectDraw cannot be had: the work image
// converted to 32-bit pixels and drawn with StretchDIBits at a whole scale
// (a whole scale replicates pixels, so nothing blurs), the rest of the client
// area black.
class GdiScreen {
public:
    GdiScreen();

    void present(const Image& image);  // converts the frame
    // Draws the last frame into the window's client area at `placement`.
    void show(HWND window, const Placement& placement) const;
    // Draws it as large as the client area holds: at the largest whole scale,
    // or where not even 320x240 fits (a screensaver's preview) smoothly
    // shrunk to the largest 4:3 picture; centred on black either way.
    void showFitted(HWND window) const;

private:
    void draw(HWND window, LONG x, LONG y, LONG width, LONG height, int stretchMode) const;

    PixelFormat format_;
    std::vector<uint8_t> frame_;  // 320x240 pixels, 4 bytes each, rows from the top
};
