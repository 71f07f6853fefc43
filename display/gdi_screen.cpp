#include "display/gdi_screen.h"

namespace {

// The client area around the picture, in four bands.
void fillBands(HDC dc, const RECT& client, const Placement& p) {
    const HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const RECT bands[] = {
        {client.left, client.top, client.right, p.y},
        {client.left, p.y + p.height(), client.right, client.bottom},
        {client.left, p.y, p.x, p.y + p.height()},
        {p.x + p.width(), p.y, client.right, p.y + p.height()},
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
    HDC dc = GetDC(window);
    if (dc == nullptr) return;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = screenWidth;
    info.bmiHeader.biHeight = -screenHeight;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, placement.x, placement.y, placement.width(), placement.height(), 0, 0, screenWidth,
                  screenHeight, frame_.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    RECT client;
    GetClientRect(window, &client);
    fillBands(dc, client, placement);
    ReleaseDC(window, dc);
}
