// The DirectDraw surfaces of the Display for each mode, and the pixel format
// they are written in.
#include <cstdio>

#include "display/ddraw_library.h"
#include "display/win32_display.h"

namespace {

bool failed(std::string& problem, const char* what, HRESULT result) {
    problem = std::string(what) + " failed with " + ddraw_library::resultText(result);
    return false;
}

#ifndef _WIN64
static_assert(sizeof(DDSURFACEDESC2) == 124, "DDSURFACEDESC2 as DirectDraw 7 defines it");
static_assert(sizeof(DDPIXELFORMAT) == 32, "DDPIXELFORMAT as DirectDraw 7 defines it");
static_assert(sizeof(WNDCLASSEXA) == 48, "WNDCLASSEX as Win32 defines it");
#endif

}  // namespace

bool Display::createSurfaces(std::string& problem) {
    const bool made = windowed ? createWindowedSurfaces(problem) : createFullScreenSurfaces(problem);
    return made && readPixelFormat(problem);
}

// The primary surface with a clipper for the window, and an off-screen
// surface of the desktop's format holding the picture at the window's scale.
bool Display::createWindowedSurfaces(std::string& problem) {
    HRESULT result = directDraw->SetCooperativeLevel(window, DDSCL_NORMAL);
    if (FAILED(result)) return failed(problem, "the normal cooperative level", result);
    DDSURFACEDESC2 description = ddraw_library::emptySurfaceDescription();
    description.dwFlags = DDSD_CAPS;
    description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    result = directDraw->CreateSurface(&description, &primary, nullptr);
    if (FAILED(result)) {
        primary = nullptr;
        return failed(problem, "the primary surface", result);
    }
    IDirectDrawClipper* clipper = nullptr;
    result = directDraw->CreateClipper(0, &clipper, nullptr);
    if (FAILED(result)) return failed(problem, "the clipper", result);
    clipper->SetHWnd(0, window);
    primary->SetClipper(clipper);
    clipper->Release();  // the primary surface holds it from here on
    placement = Placement{0, 0, windowScale};
    if (!createBackSurface(placement.width(), placement.height(), problem)) return false;
    refreshRectangles();
    return true;
}

bool Display::createBackSurface(int32_t width, int32_t height, std::string& problem) {
    DDSURFACEDESC2 description = ddraw_library::emptySurfaceDescription();
    description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    description.dwWidth = static_cast<DWORD>(width);
    description.dwHeight = static_cast<DWORD>(height);
    description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    IDirectDrawSurface7* made = nullptr;
    const HRESULT result = directDraw->CreateSurface(&description, &made, nullptr);
    if (FAILED(result) || made == nullptr) return failed(problem, "the off-screen surface", result);
    back = made;
    surfaceWidth = width;
    surfaceHeight = height;
    return true;
}

// Exclusive full screen: the 320x240x32 mode where the screen takes it, else
// the desktop's own mode with the picture at the largest whole scale that
// fits, centred; a flip chain of two surfaces either way.
bool Display::createFullScreenSurfaces(std::string& problem) {
    HRESULT result = directDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN);
    if (FAILED(result)) return failed(problem, "the full-screen cooperative level", result);
    const HRESULT mode = directDraw->SetDisplayMode(screenWidth, screenHeight, 32, 0, 0);
    modeChanged = SUCCEEDED(mode);

    DDSURFACEDESC2 description = ddraw_library::emptySurfaceDescription();
    description.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    description.dwBackBufferCount = 1;
    description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    result = directDraw->CreateSurface(&description, &primary, nullptr);
    if (FAILED(result)) {
        primary = nullptr;
        return failed(problem, "the full-screen flip chain", result);
    }
    DDSCAPS2 backCaps = {};
    backCaps.dwCaps = DDSCAPS_BACKBUFFER;
    result = primary->GetAttachedSurface(&backCaps, &back);
    if (FAILED(result)) {
        back = nullptr;
        return failed(problem, "the back buffer", result);
    }
    DDSURFACEDESC2 screen = ddraw_library::emptySurfaceDescription();
    result = primary->GetSurfaceDesc(&screen);
    if (FAILED(result)) return failed(problem, "reading the screen's size", result);
    surfaceWidth = static_cast<int32_t>(screen.dwWidth);
    surfaceHeight = static_cast<int32_t>(screen.dwHeight);
    placement = centredPlacement(surfaceWidth, surfaceHeight, scaleAsked);
    if (!modeChanged) tellModeRefused(mode);
    return true;
}

// Once a run: the line that says where full screen went instead.
void Display::tellModeRefused(HRESULT result) {
    static bool told = false;
    if (told) return;
    told = true;
    std::fprintf(stderr,
                 "vokdemo: the 320x240 mode was refused (%s); full screen stays at %dx%d with the picture at x%d, "
                 "centred\n",
                 ddraw_library::resultText(result).c_str(), surfaceWidth, surfaceHeight, placement.scale);
    std::fflush(stderr);
}

bool Display::readPixelFormat(std::string& problem) {
    DDPIXELFORMAT pixelFormat = {};
    pixelFormat.dwSize = sizeof(pixelFormat);
    const HRESULT result = primary->GetPixelFormat(&pixelFormat);
    if (FAILED(result)) return failed(problem, "reading the pixel format", result);
    format = makePixelFormat(pixelFormat.dwRGBBitCount, pixelFormat.dwRBitMask, pixelFormat.dwGBitMask,
                             pixelFormat.dwBBitMask);
    return true;
}

// The window's picture at its new scale: a new off-screen surface, or GDI
// when none can be made.
void Display::replaceBackSurface() {
    if (back != nullptr) {
        back->Release();
        back = nullptr;
    }
    std::string problem;
    placement = Placement{0, 0, windowScale};
    if (!createBackSurface(placement.width(), placement.height(), problem)) {
        useGdi(problem);
        return;
    }
    refreshRectangles();
}
