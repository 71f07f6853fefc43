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

private:
    PixelFormat format_;
    std::vector<uint8_t> frame_;  // 320x240 pixels, 4 bytes each, rows from the top
};
