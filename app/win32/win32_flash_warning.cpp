#include "app/win32/win32_flash_warning.h"

#include <windows.h>

#include <string>

#include "shell/flash_verdict.h"

bool agreesToFlashes(const DataFolder& data) {
    const std::string warning = flashWarning(data);
    if (warning.empty()) return true;
    const std::string text = warning +
                             "\n\nOK plays the show; Cancel quits. (vokdemo --gentle holds back only those flashes; "
                             "the rest plays as made.)";
    return MessageBoxA(nullptr, text.c_str(), "vokdemo", MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON1) == IDOK;
}
