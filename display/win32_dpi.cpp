#include "display/win32_dpi.h"

namespace dpi {
namespace {

using DpiForWindow = UINT(WINAPI*)(HWND);
using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

template <typename Function>
Function user32Function(const char* name) {
    static HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 == nullptr ? nullptr : reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

}  // namespace

UINT ofWindow(HWND window) {
    static const auto forWindow = user32Function<DpiForWindow>("GetDpiForWindow");
    if (forWindow != nullptr && window != nullptr) {
        const UINT found = forWindow(window);
        if (found != 0) return found;
    }
    HDC screen = GetDC(nullptr);
    const int found = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return found > 0 ? static_cast<UINT>(found) : standard;
}

SIZE windowSizeFor(int32_t width, int32_t height, DWORD style, UINT dotsPerInch) {
    static const auto adjustForDpi = user32Function<AdjustForDpi>("AdjustWindowRectExForDpi");
    RECT outer = {0, 0, width, height};
    if (adjustForDpi == nullptr || !adjustForDpi(&outer, style, FALSE, 0, dotsPerInch)) {
        AdjustWindowRectEx(&outer, style, FALSE, 0);
    }
    return SIZE{outer.right - outer.left, outer.bottom - outer.top};
}

}  // namespace dpi
