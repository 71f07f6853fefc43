#pragma once
#include <windows.h>
#include <ddraw.h>

#include <cstdint>

#include "display/pixel_format.h"
#include "image/image.h"

// The demo's window and its DirectDraw 7 screen: a 320x240 off-screen surface
// blitted into the window's client area, or in full screen a 320x240x32 flip
// chain. One per process; it is never destroyed.
class Display {
public:
    Display(HINSTANCE instance, int showCommand, int windowed);

    int createWindow(HINSTANCE instance, int showCommand);
    int initDirectDraw();
    int present(const Image& image);  // converts the work image into `back`
    int flip();                       // shows `back`
    int releaseSurfaces();

    int present32(const Image& image);
    int present24(const Image& image);
    int present16(const Image& image);

    // Re-reads clientRect and screenRect from the window; not while minimised.
    void refreshRectangles();

    RECT clientRect = {};  // client coordinates: the blit's source rectangle
    RECT screenRect = {};  // the same area on the screen: the blit's destination
    int32_t clientHeight = 240;
    int32_t clientWidth = 320;
    HWND window = nullptr;
    IDirectDraw7* directDraw = nullptr;
    IDirectDrawSurface7* primary = nullptr;
    PixelFormat format;  // from the primary surface's masks
    IDirectDrawSurface7* back = nullptr;
    int32_t windowed = 1;
    int32_t running = 0;
    int32_t active = 0;
    // 1 once initDirectDraw has succeeded, 0 again after releaseSurfaces:
    // present and flip touch the surfaces only then.
    int32_t surfacesReady = 0;

    // Attempts of one flip before the frame is dropped.
    static constexpr int flipAttempts = 8;

private:
    using Converter = int (*)(const Image&, const PixelFormat&, uint8_t*, int32_t);
    int convertInto(const Image& image, Converter converter, int32_t bytesPerPixel);
    HRESULT showOnce();
    bool rectanglesUsable() const;
};

extern Display* currentDisplay;

// The window size for a 320x240 client area: the frame on each side and a
// menu-bar allowance (which on the usual systems equals the caption's height).
int32_t windowWidthFor(int32_t clientWidth);
int32_t windowHeightFor(int32_t clientHeight);

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Names of the window class and the caption.
extern const char* const windowClassName;
extern const char* const windowCaption;
