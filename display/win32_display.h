#pragma once
#include <windows.h>
#include <ddraw.h>

#include <cstdint>
#include <functional>
#include <string>

#include "display/gdi_screen.h"
#include "display/pixel_format.h"
#include "display/scaled_converter.h"
#include "display/screen_scale.h"
#include "image/image.h"

// The demo's window and its screen. In a window the picture, at the window's
// whole scale, is converted into an off-screen DirectDraw 7 surface of the
// desktop's format and blitted into the client area. Full screen tries the
// 320x240x32 mode; where it is refused the desktop's mode stays and the
// picture is converted at the largest whole scale that fits, centred on
// black, into a flip chain of the screen's format. Where DirectDraw cannot be
// had (no ddraw.dll, a refused cooperative level or surface) the frames go
// through GDI instead, in the same window or in a borderless one covering the
// monitor. One per process; it is never destroyed.
class Display {
public:
    // `scale`: the picture's whole scale asked for (--scale N), 0 when not
    // given: in a window the DPI's factor, full screen the largest that fits.
    Display(HINSTANCE instance, int showCommand, int windowed, int32_t scale = 0);

    int createWindow(HINSTANCE instance, int showCommand);
    // Loads DirectDraw and makes the surfaces of the mode; 0 at the first
    // failing step, after which the frames go through GDI.
    int initDirectDraw();
    int present(const Image& image);  // converts the work image into `back`
    int flip();                       // shows `back`
    int releaseSurfaces();            // every DirectDraw object, when the window goes

    // Full screen on and off (F, Alt+Enter); the window comes back where it was.
    void toggleFullScreen();
    // The window's monitor changed to `dotsPerInch` (WM_DPICHANGED): the
    // window takes the new factor, its corner at `suggested` when given.
    void changeDpi(UINT dotsPerInch, const RECT* suggested);

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
    // 1 once the surfaces of the mode exist, 0 while they do not (after
    // releaseSurfaces, during a switch, on the GDI path): present and flip
    // touch surfaces only then.
    int32_t surfacesReady = 0;

    int32_t scaleAsked = 0;     // --scale N, 0 when not given
    int32_t windowScale = 1;    // the window's: client area 320x240 times this
    UINT dotsPerInch = 96;      // of the window's monitor
    Placement placement;        // where the picture lies in `back`, or on the GDI path in the client area
    int32_t surfaceWidth = 320; // the size of `back`
    int32_t surfaceHeight = 240;
    bool modeChanged = false;   // full screen set 320x240x32
    bool gdi = false;           // the frames go through GDI for the rest of the run

    // Every key press but Escape (which ends the show here): the virtual key,
    // whether Alt was down and whether it repeats a held key.
    std::function<void(WPARAM key, bool alt, bool repeat)> onKey;
    // Sees every message of the window first (the screensaver's input);
    // true when it took the message, which then goes nowhere else.
    std::function<bool(UINT message, WPARAM wParam, LPARAM lParam)> onMessage;

    // Attempts of one flip before the frame is dropped.
    static constexpr int flipAttempts = 8;

    // The style of the demo's window, and of the one covering the monitor.
    static constexpr DWORD windowStyle = WS_OVERLAPPEDWINDOW;
    static constexpr DWORD fullScreenStyle = WS_POPUP;

    // The window's outer size for its scale: what the system computes for
    // its DPI, corrected by the client area it gave (sizeWindow).
    SIZE windowSize = {};

private:
    bool createSurfaces(std::string& problem);
    bool createWindowedSurfaces(std::string& problem);
    bool createFullScreenSurfaces(std::string& problem);
    bool createBackSurface(int32_t width, int32_t height, std::string& problem);
    bool readPixelFormat(std::string& problem);
    void releaseModeSurfaces();  // primary and back; the DirectDraw object stays
    void leaveFullScreen();
    void useGdi(const std::string& problem);
    void shapeWindow();          // style, place and size for the mode
    void followDpi(UINT newDpi); // the window's scale for its monitor's DPI
    void sizeWindow(POINT corner, UINT flags);
    void replaceBackSurface();   // at a new window scale
    void tellModeRefused(HRESULT result);
    void showCursor(bool visible);
    int convertInto(const Image& image);
    HRESULT showOnce();
    bool rectanglesUsable() const;
    Placement gdiPlacement() const;

    GdiScreen gdiScreen_;
    ScaledConverter converter_;
    WINDOWPLACEMENT windowPlace_ = {};  // the window's, while full screen
    bool cursorHidden_ = false;
};

extern Display* currentDisplay;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Names of the window class and the caption.
extern const char* const windowClassName;
extern const char* const windowCaption;
