#pragma once
#include <windows.h>

#include <cstdint>

// The per-monitor DPI functions of Windows 10, looked up at run time so that
// older Windows still start the program. Without them a screen counts at the
// system's DPI, and windows are sized by the DPI-less functions.
namespace dpi {

constexpr UINT standard = 96;  // 100%

// The DPI of the monitor the window is on: GetDpiForWindow where it exists,
// else the screen's LOGPIXELSX.
UINT ofWindow(HWND window);

// The outer size of a window of `style` whose client area is `width` x
// `height` at `dotsPerInch`: AdjustWindowRectExForDpi where it exists, else
// AdjustWindowRectEx.
SIZE windowSizeFor(int32_t width, int32_t height, DWORD style, UINT dotsPerInch);

}  // namespace dpi
