// The window half of the Display: the window class and the window, its size
// for the picture's scale at the monitor's DPI, its shape in each mode, and
// the window procedure.
#include "display/win32_display.h"
#include "display/win32_dpi.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The window's scale: the one asked for, else the factor of its monitor's DPI.
void Display::followDpi(UINT newDpi) {
    dotsPerInch = newDpi;
    windowScale = scaleAsked > 0 ? scaleAsked : wholeScaleForDpi(newDpi);
    clientWidth = screenWidth * windowScale;
    clientHeight = screenHeight * windowScale;
}

// The window at `corner` (SWP_NOMOVE in `flags`: where it is) with a client
// area of the picture's size. The size the system computes for the DPI is
// tried first; where the frame turns out another size (drawn at another DPI
// than the one announced) the difference is added once.
void Display::sizeWindow(POINT corner, UINT flags) {
    windowSize = dpi::windowSizeFor(clientWidth, clientHeight, windowStyle, dotsPerInch);
    SetWindowPos(window, nullptr, corner.x, corner.y, windowSize.cx, windowSize.cy, flags | SWP_NOZORDER);
    RECT client = {};
    if (IsIconic(window) || !GetClientRect(window, &client)) return;
    const LONG wider = clientWidth - client.right, taller = clientHeight - client.bottom;
    if (wider == 0 && taller == 0) return;
    windowSize = SIZE{windowSize.cx + wider, windowSize.cy + taller};
    SetWindowPos(window, nullptr, 0, 0, windowSize.cx, windowSize.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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

    windowSize = dpi::windowSizeFor(clientWidth, clientHeight, windowStyle, dotsPerInch);  // sized once its DPI is known
    window = CreateWindowExA(0, windowClassName, windowCaption, windowStyle, 10, 10, windowSize.cx, windowSize.cy,
                             nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 0;
    followDpi(dpi::ofWindow(window));
    sizeWindow(POINT{}, SWP_NOMOVE | SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    running = 1;
    return 1;
}

// In a window: the framed window back where it was, sized for its scale at
// its DPI now. Full screen: a borderless window covering the monitor, the
// window's place kept for its return.
void Display::shapeWindow() {
    if (windowed) {
        SetWindowLongPtrA(window, GWL_STYLE, static_cast<LONG_PTR>(windowStyle | WS_VISIBLE));
        if (windowPlace_.length != 0) SetWindowPlacement(window, &windowPlace_);
        followDpi(dpi::ofWindow(window));
        SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED | SWP_NOACTIVATE);
        sizeWindow(POINT{}, SWP_NOMOVE | SWP_NOACTIVATE);
        return;
    }
    windowPlace_.length = sizeof(windowPlace_);
    if (!GetWindowPlacement(window, &windowPlace_)) windowPlace_.length = 0;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcMonitor;
    SetWindowLongPtrA(window, GWL_STYLE, static_cast<LONG_PTR>(fullScreenStyle | WS_VISIBLE));
    SetWindowPos(window, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_FRAMECHANGED);
}

void Display::changeDpi(UINT newDpi, const RECT* suggested) {
    const int32_t oldScale = windowScale;
    followDpi(newDpi);
    if (!windowed || window == nullptr) return;  // the window takes it when it comes back
    const POINT corner = suggested != nullptr ? POINT{suggested->left, suggested->top} : POINT{};
    sizeWindow(corner, SWP_NOACTIVATE | (suggested != nullptr ? 0 : SWP_NOMOVE));
    if (windowScale != oldScale && surfacesReady) replaceBackSurface();
}

namespace {

// While windowed the window keeps the size of its picture.
void setTrackingSizes(const SIZE& size, MINMAXINFO& info) {
    info.ptMinTrackSize = {size.cx, size.cy};
    info.ptMaxTrackSize = {size.cx, size.cy};
}

// Restored or activated: the stored rectangles may be empty or stale (the
// system can move a window while it does not count as active).
void showingAgain(Display& display) {
    if (display.active && display.running && display.windowed) display.refreshRectangles();
}

// Escape ends the show; every other key press goes to the program, and of
// the keys with Alt only Alt+Enter (the rest are the system's: Alt+F4, the
// menu). True when the system must not see the key: Escape, and Alt+Enter,
// which would open the window's menu.
bool keyDown(Display& display, HWND window, UINT message, WPARAM key, LPARAM flags) {
    const bool alt = (flags & (LPARAM{1} << 29)) != 0;
    const bool repeat = (flags & (LPARAM{1} << 30)) != 0;
    if (message == WM_SYSKEYDOWN && !(key == VK_RETURN && alt)) return false;
    if (key == VK_ESCAPE) {
        display.running = 0;
        PostMessage(window, WM_CLOSE, 0, 0);
        return true;
    }
    if (display.onKey) display.onKey(key, alt, repeat);
    return message == WM_SYSKEYDOWN;
}

}  // namespace

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Display* display = currentDisplay;
    if (display == nullptr) return DefWindowProc(window, message, wParam, lParam);
    if (display->onMessage && display->onMessage(message, wParam, lParam)) return 0;
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
        if (display->windowed) setTrackingSizes(display->windowSize, *reinterpret_cast<MINMAXINFO*>(lParam));
        break;
    case WM_DPICHANGED:
        display->changeDpi(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (keyDown(*display, window, message, wParam, lParam)) return 0;
        break;
    case WM_SYSCHAR:
        if (wParam == VK_RETURN) return 0;  // Alt+Enter: no beep
        break;
    }
    return DefWindowProc(window, message, wParam, lParam);
}
