#include "display/win32_display.h"

#include <cstdio>

#include "display/ddraw_library.h"

Display* currentDisplay = nullptr;

const char* const windowClassName = "-=- vok2000 test -=-";
const char* const windowCaption = "vok2000";

namespace {

bool isEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

}  // namespace

Display::Display(HINSTANCE instance, int showCommand, int windowedFlag, int32_t scale) {
    running = 0;
    active = 0;
    windowed = windowedFlag;
    scaleAsked = scale;
    currentDisplay = this;  // windowProc runs inside the calls below
    createWindow(instance, showCommand);
    if (!windowed) shapeWindow();
    surfacesReady = initDirectDraw();
    if (!windowed) showCursor(false);
}

int Display::initDirectDraw() {
    directDraw = nullptr;
    primary = nullptr;
    back = nullptr;
    std::string problem;
    directDraw = ddraw_library::create(problem);
    if (directDraw == nullptr || !createSurfaces(problem)) {
        useGdi(problem);
        return 0;
    }
    return 1;
}

// From here on every frame goes through GDI; said once.
void Display::useGdi(const std::string& problem) {
    releaseModeSurfaces();
    if (directDraw != nullptr) {
        directDraw->Release();
        directDraw = nullptr;
    }
    if (!gdi) {
        std::fprintf(stderr, "vokdemo: DirectDraw cannot be used (%s); the frames are shown through GDI\n",
                     problem.c_str());
        std::fflush(stderr);
    }
    gdi = true;
}

void Display::refreshRectangles() {
    if (window == nullptr || IsIconic(window)) return;  // a minimised window has no client area to show
    GetClientRect(window, &clientRect);
    // A blit reads no further than the back surface reaches.
    if (clientRect.right > surfaceWidth) clientRect.right = surfaceWidth;
    if (clientRect.bottom > surfaceHeight) clientRect.bottom = surfaceHeight;
    screenRect = clientRect;
    POINT corners[2] = {{screenRect.left, screenRect.top}, {screenRect.right, screenRect.bottom}};
    ClientToScreen(window, &corners[0]);
    ClientToScreen(window, &corners[1]);
    screenRect = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

bool Display::rectanglesUsable() const {
    if (isEmpty(clientRect) || isEmpty(screenRect)) return false;
    return clientRect.right - clientRect.left == screenRect.right - screenRect.left &&
           clientRect.bottom - clientRect.top == screenRect.bottom - screenRect.top;
}

int Display::present(const Image& image) {
    if (gdi) {
        gdiScreen_.present(image);
        return 1;
    }
    if (!surfacesReady) return 1;
    // Formats the converters cannot write (below 16 bits per pixel, channels
    // wider than 8 bits) get no picture: the frame is dropped.
    if (!isConvertible(format)) return 1;
    return convertInto(image);
}

int Display::convertInto(const Image& image) {
    if (back == nullptr || image.pixels == nullptr || image.count() < screenPixels) return 1;
    DDSURFACEDESC2 locked = ddraw_library::emptySurfaceDescription();
    if (FAILED(back->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr))) return 1;  // the surface keeps its content
    // A surface too small for the picture at its placement is left alone
    // rather than written past its end.
    if (locked.lpSurface != nullptr) {
        const int32_t width = (locked.dwFlags & DDSD_WIDTH) ? static_cast<int32_t>(locked.dwWidth) : surfaceWidth;
        const int32_t height = (locked.dwFlags & DDSD_HEIGHT) ? static_cast<int32_t>(locked.dwHeight) : surfaceHeight;
        converter_.convert(image, format, converterBytes(format), static_cast<uint8_t*>(locked.lpSurface),
                           locked.lPitch, width, height, placement);
    }
    back->Unlock(nullptr);
    return 1;
}

HRESULT Display::showOnce() {
    if (windowed) return primary->Blt(&screenRect, back, &clientRect, 0, nullptr);
    return primary->Flip(nullptr, 0);
}

int Display::flip() {
    if (!active || !running) return 1;
    if (gdi) {
        placement = gdiPlacement();
        gdiScreen_.show(window, placement);
        return 1;
    }
    if (!surfacesReady || primary == nullptr) return 1;
    if (windowed && !rectanglesUsable()) {
        refreshRectangles();
        if (!rectanglesUsable()) return 1;  // nothing of the window is on the screen
    }
    // A few attempts, then the frame is dropped: a blitter that stays busy
    // or a rectangle that stays invalid must not hold up the loop.
    for (int attempt = 0; attempt < flipAttempts; ++attempt) {
        HRESULT result = showOnce();
        if (result == DD_OK) return 1;
        if (result == DDERR_SURFACELOST) {
            if (FAILED(primary->Restore())) return 1;
            if (back != nullptr && back->IsLost() == DDERR_SURFACELOST) back->Restore();  // the windowed off-screen surface
            continue;
        }
        if (windowed) refreshRectangles();  // the window may have moved, been restored or activated
    }
    return 1;
}

Placement Display::gdiPlacement() const {
    if (windowed) return Placement{0, 0, windowScale};
    RECT client = {};
    GetClientRect(window, &client);
    return centredPlacement(client.right, client.bottom, scaleAsked);
}

void Display::releaseModeSurfaces() {
    surfacesReady = 0;
    if (back != nullptr) {
        back->Release();
        back = nullptr;
    }
    if (primary != nullptr) {
        primary->Release();
        primary = nullptr;
    }
}

int Display::releaseSurfaces() {
    releaseModeSurfaces();
    if (directDraw == nullptr) return 1;
    directDraw->Release();
    directDraw = nullptr;
    return 1;
}

// The surfaces of the old mode go, the window takes the new mode's shape and
// the new surfaces are made; where they cannot be, GDI takes over.
void Display::toggleFullScreen() {
    if (!running || window == nullptr) return;
    releaseModeSurfaces();
    if (!windowed) leaveFullScreen();
    windowed = windowed ? 0 : 1;
    shapeWindow();
    if (!gdi && directDraw != nullptr) {
        std::string problem;
        surfacesReady = createSurfaces(problem) ? 1 : 0;
        if (!surfacesReady) useGdi(problem);
    }
    showCursor(windowed != 0);
}

void Display::leaveFullScreen() {
    if (directDraw == nullptr) return;
    directDraw->SetCooperativeLevel(window, DDSCL_NORMAL);
    if (modeChanged) directDraw->RestoreDisplayMode();
    modeChanged = false;
}

void Display::showCursor(bool visible) {
    if (visible != cursorHidden_) return;  // already so
    ShowCursor(visible ? TRUE : FALSE);
    cursorHidden_ = !visible;
}
