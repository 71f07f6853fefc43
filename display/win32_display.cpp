#include "display/win32_display.h"

#include <cstdio>

Display* currentDisplay = nullptr;

const char* const windowClassName = "-=- vok2000 test -=-";
const char* const windowCaption = "vok2000";

namespace {

// IID_IDirectDraw7, defined here so that no GUID library is needed.
const GUID directDraw7Id = {0x15E65EC0, 0x3B9C, 0x11D2, {0xB9, 0x2F, 0x00, 0x60, 0x97, 0x97, 0xEA, 0x5B}};

#ifndef _WIN64
static_assert(sizeof(DDSURFACEDESC2) == 124, "DDSURFACEDESC2 as DirectDraw 7 defines it");
static_assert(sizeof(DDPIXELFORMAT) == 32, "DDPIXELFORMAT as DirectDraw 7 defines it");
static_assert(sizeof(WNDCLASSEXA) == 48, "WNDCLASSEX as Win32 defines it");
#endif

DDSURFACEDESC2 emptySurfaceDescription() {
    DDSURFACEDESC2 description = {};
    description.dwSize = sizeof(description);
    return description;
}

bool isEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

// The locked surface holds 240 rows of 320 pixels of the given size.
bool holdsScreen(const DDSURFACEDESC2& locked, int32_t bytesPerPixel) {
    if (locked.lpSurface == nullptr || locked.lPitch < screenWidth * bytesPerPixel) return false;
    if ((locked.dwFlags & DDSD_WIDTH) && locked.dwWidth < static_cast<DWORD>(screenWidth)) return false;
    if ((locked.dwFlags & DDSD_HEIGHT) && locked.dwHeight < static_cast<DWORD>(screenHeight)) return false;
    return true;
}

}  // namespace

int32_t windowWidthFor(int32_t clientWidth) { return clientWidth + 2 * GetSystemMetrics(SM_CXFRAME); }

int32_t windowHeightFor(int32_t clientHeight) {
    return clientHeight + 2 * GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYMENU);
}

Display::Display(HINSTANCE instance, int showCommand, int windowedFlag) {
    running = 0;
    active = 0;
    windowed = windowedFlag;
    clientWidth = 320;
    clientHeight = 240;
    currentDisplay = this;  // windowProc runs inside the calls below
    createWindow(instance, showCommand);
    surfacesReady = initDirectDraw();
    if (!surfacesReady) std::fprintf(stderr, "vokdemo: DirectDraw could not be set up; no frame will be shown\n");
    if (!windowed) ShowCursor(FALSE);
}

int Display::createWindow(HINSTANCE instance, int) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = windowClassName;
    RegisterClassExA(&windowClass);

    window = CreateWindowExA(0, windowClassName, windowCaption, WS_OVERLAPPEDWINDOW, 10, 10,
                             windowWidthFor(clientWidth), windowHeightFor(clientHeight), nullptr, nullptr,
                             instance, nullptr);
    if (window == nullptr) return 0;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    running = 1;
    return 1;
}

void Display::refreshRectangles() {
    if (window == nullptr || IsIconic(window)) return;  // a minimised window has no client area to show
    GetClientRect(window, &clientRect);
    // The back surface is 320x240: a larger client area could never be a
    // blit source, so the blit covers at most that much of it.
    if (clientRect.right > screenWidth) clientRect.right = screenWidth;
    if (clientRect.bottom > screenHeight) clientRect.bottom = screenHeight;
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

int Display::initDirectDraw() {
    directDraw = nullptr;
    primary = nullptr;
    back = nullptr;
    if (FAILED(DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&directDraw), directDraw7Id, nullptr))) {
        directDraw = nullptr;
        return 0;
    }

    DDSURFACEDESC2 description = emptySurfaceDescription();
    if (windowed) {
        directDraw->SetCooperativeLevel(window, DDSCL_NORMAL);
        refreshRectangles();

        description.dwFlags = DDSD_CAPS;
        description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
        if (FAILED(directDraw->CreateSurface(&description, &primary, nullptr))) return 0;

        IDirectDrawClipper* clipper = nullptr;
        if (FAILED(directDraw->CreateClipper(0, &clipper, nullptr))) return 0;
        clipper->SetHWnd(0, window);
        primary->SetClipper(clipper);
        clipper->Release();  // the primary surface holds it from here on

        description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
        description.dwWidth = screenWidth;
        description.dwHeight = screenHeight;
        description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
        if (FAILED(directDraw->CreateSurface(&description, &back, nullptr))) return 0;
    } else {
        directDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN);
        directDraw->SetDisplayMode(screenWidth, screenHeight, 32, 0, 0);

        description.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
        description.dwBackBufferCount = 1;
        description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
        if (FAILED(directDraw->CreateSurface(&description, &primary, nullptr))) return 0;

        DDSCAPS2 backCaps = {};
        backCaps.dwCaps = DDSCAPS_BACKBUFFER;
        if (FAILED(primary->GetAttachedSurface(&backCaps, &back))) return 0;
    }

    DDPIXELFORMAT pixelFormat = {};
    pixelFormat.dwSize = sizeof(pixelFormat);
    if (FAILED(primary->GetPixelFormat(&pixelFormat))) return 0;
    format = makePixelFormat(pixelFormat.dwRGBBitCount, pixelFormat.dwRBitMask, pixelFormat.dwGBitMask,
                             pixelFormat.dwBBitMask);
    return 1;
}

int Display::present(const Image& image) {
    if (!surfacesReady) return 1;
    // Formats the converters cannot write (below 16 bits per pixel, channels
    // wider than 8 bits) get no picture: the frame is dropped.
    if (!isConvertible(format)) return 1;
    switch (converterBytes(format, windowed != 0)) {
    case 4: return present32(image);
    case 3: return present24(image);
    default: return present16(image);
    }
}

int Display::present32(const Image& image) { return convertInto(image, ::present32, 4); }
int Display::present24(const Image& image) { return convertInto(image, ::present24, 3); }
int Display::present16(const Image& image) { return convertInto(image, ::present16, 2); }

int Display::convertInto(const Image& image, Converter converter, int32_t bytesPerPixel) {
    if (back == nullptr || image.pixels == nullptr || image.count() < screenPixels) return 1;
    DDSURFACEDESC2 locked = emptySurfaceDescription();
    if (FAILED(back->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr))) return 1;  // the surface keeps its content
    // A surface smaller than 320x240 in this pixel size is left alone
    // rather than written past its end.
    if (holdsScreen(locked, bytesPerPixel))
        converter(image, format, static_cast<uint8_t*>(locked.lpSurface), locked.lPitch);
    back->Unlock(nullptr);
    return 1;
}

HRESULT Display::showOnce() {
    if (windowed) return primary->Blt(&screenRect, back, &clientRect, 0, nullptr);
    return primary->Flip(nullptr, 0);
}

int Display::flip() {
    if (!active || !running) return 1;
    if (!surfacesReady) return 1;
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
            if (back->IsLost() == DDERR_SURFACELOST) back->Restore();  // the windowed off-screen surface
            continue;
        }
        if (windowed) refreshRectangles();  // the window may have moved, been restored or activated
    }
    return 1;
}

int Display::releaseSurfaces() {
    surfacesReady = 0;
    if (directDraw == nullptr) return 1;
    if (back != nullptr) {
        back->Release();
        back = nullptr;
    }
    if (primary != nullptr) {
        primary->Release();
        primary = nullptr;
    }
    directDraw->Release();
    directDraw = nullptr;
    return 1;
}

namespace {

void setTrackingSizes(MINMAXINFO& info) {
    POINT size = {windowWidthFor(320), windowHeightFor(240)};
    info.ptMinTrackSize = size;
    info.ptMaxTrackSize = size;
}

// Restored or activated: the stored rectangles may be empty or stale (the
// system can move a window while it does not count as active).
void showingAgain(Display& display) {
    if (display.active && display.running && display.windowed) display.refreshRectangles();
}

}  // namespace

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Display* display = currentDisplay;
    if (display == nullptr) return DefWindowProc(window, message, wParam, lParam);
    switch (message) {
    case WM_DESTROY:
        display->running = 0;
        display->releaseSurfaces();
        PostQuitMessage(0);
        return 0;
    case WM_MOVE:
        if (display->active && display->running && display->windowed) display->refreshRectangles();
        break;
    case WM_SIZE:
        display->active = (wParam == SIZE_MINIMIZED || wParam == SIZE_MAXHIDE) ? 0 : 1;
        showingAgain(*display);
        break;
    case WM_ACTIVATE:
        display->active = HIWORD(wParam) == 0 ? 1 : 0;
        showingAgain(*display);
        return 0;
    case WM_GETMINMAXINFO:
        setTrackingSizes(*reinterpret_cast<MINMAXINFO*>(lParam));
        break;
    case WM_KEYDOWN:
        if (wParam != VK_ESCAPE) break;
        display->running = 0;
        PostMessage(window, WM_CLOSE, 0, 0);
        return 0;
    }
    return DefWindowProc(window, message, wParam, lParam);
}
