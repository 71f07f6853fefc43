#include "app/win32/win32_console.h"

#include <windows.h>

namespace console {
namespace {

bool usable(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

// The parent's console, attached on first use; null when there is none.
HANDLE parentConsole() {
    static const HANDLE output = [] {
        if (!AttachConsole(ATTACH_PARENT_PROCESS)) return HANDLE(nullptr);
        return CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    }();
    return usable(output) ? output : nullptr;
}

}  // namespace

bool write(const std::string& text, Kind kind) {
    HANDLE handle = GetStdHandle(kind == Kind::Error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    if (!usable(handle)) handle = parentConsole();
    if (handle == nullptr) return false;
    DWORD written = 0;
    return WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

void tell(const std::string& text, Kind kind) {
    if (write(text, kind)) return;
    const UINT sign = kind == Kind::Error ? MB_ICONERROR : kind == Kind::Warning ? MB_ICONWARNING : MB_ICONINFORMATION;
    MessageBoxA(nullptr, text.c_str(), "vokdemo", MB_OK | sign);
}

}  // namespace console
