#include "platform/win32_platform.h"

#include <windows.h>

#include <vector>


namespace win32 {

uint32_t tickCount() { return GetTickCount(); }

// Looks at the waiting console input records with PeekConsoleInput, which
// leaves them in the queue, and reports whether one of them is a key press.
// A process without a console (the usual case for the windowed program) has
// no console input handle, and GetNumberOfConsoleInputEvents fails on it.
bool keyPressWaiting() {
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (input == nullptr || input == INVALID_HANDLE_VALUE) return false;
    DWORD waiting = 0;
    if (!GetNumberOfConsoleInputEvents(input, &waiting) || waiting == 0) return false;

    std::vector<INPUT_RECORD> records(waiting);
    DWORD read = 0;
    if (!PeekConsoleInputA(input, records.data(), waiting, &read)) return false;
    for (DWORD i = 0; i < read; ++i) {
        if (records[i].EventType == KEY_EVENT && records[i].Event.KeyEvent.bKeyDown) return true;
    }
    return false;
}

}  // namespace win32
