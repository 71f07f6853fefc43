#include "display/gdi_screen.h"

#include <algorithm>

namespace {

// The client area around the picture at (x, y), `width` x `height`, in four bands.
void fillBands(HDC dc, const RECT& client, LONG x, LONG y, LONG width, LONG height) {
    const HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const RECT bands[] = {
        {client.left, client.top, client.right, y},
        {client.left, y + height, client.right, client.bottom},
        {client.left, y, x, y + height},
        {x + width, y, client.right, y + height},
    };
    for (const RECT& band : bands) {
        if (band.right > band.left && band.bottom > band.top) FillRect(dc, &band, black);
    }
}

}  // namespace

GdiScreen::GdiScreen()
    : format_(makePixelFormat(32, 0xFF0000, 0xFF00, 0xFF)), frame_(static_cast<size_t>(screenBytes), 0) {}

void GdiScreen::present(const Image& image) {
    if (image.pixels == nullptr || image.count() < screenPixels) return;
    present32(image, format_, frame_.data(), screenWidth * 4);
}

void GdiScreen::show(HWND window, const Placement& placement) const {
    if (window == nullptr || placement.scale < 1) return;
    draw(window, placement.x, placement.y, placement.width(), placement.height(), COLORONCOLOR);
}

void GdiScreen::showFitted(HWND window) const {
    RECT client = {};
    if (window == nullptr || !GetClientRect(window, &client)) return;
    const Placement whole = centredPlacement(client.right, client.bottom, 0);
    if (whole.scale >= 1) {
        show(window, whole);
        return;
    }
    const LONG width = std::min<LONG>(client.right, client.bottom * screenWidth / screenHeight);
    const LONG height = width * screenHeight / screenWidth;
    draw(window, (client.right - width) / 2, (client.bottom - height) / 2, width, height, HALFTONE);
}

// The frame stretched to (x, y), `width` x `height` of the client area, the
// rest of it black. COLORONCOLOR repeats pixels at a whole scale; HALFTONE
// averages them where the picture shrinks.
void GdiScreen::draw(HWND window, LONG x, LONG y, LONG width, LONG height, int stretchMode) const {
    HDC dc = GetDC(window);
    if (dc == nullptr) return;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = screenWidth;
    info.bmiHeader.biHeight = -screenHeight;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetStretchBltMode(dc, stretchMode);
    if (stretchMode == HALFTONE) SetBrushOrgEx(dc, 0, 0, nullptr);  // as HALFTONE asks
    StretchDIBits(dc, x, y, width, height, 0, 0, screenWidth, screenHeight, frame_.data(), &info, DIB_RGB_COLORS,
                  SRCCOPY);
    RECT client;
    GetClientRect(window, &client);
    fillBands(dc, client, x, y, width, height);
    ReleaseDC(window, dc);
}
