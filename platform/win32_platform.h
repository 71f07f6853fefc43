#pragma once
#include <cstdint>

// The Windows side of the platform interface.
namespace win32 {

uint32_t tickCount();   // GetTickCount: milliseconds since boot, wraps after 49.7 days
bool keyPressWaiting(); // a key press waits unread in the console input; never consumes it

}  // namespace win32
