#include "app/win32/win32_flash_warning.h"

#include <windows.h>

#include <string>

#include "platform/platform.h"

void warnOfFlashes() {
    std::string verdict;
    if (!platform::readDataFile("flashes.txt", verdict) || verdict.rfind("fail", 0) != 0) return;
    MessageBoxA(nullptr,
                "This show has rapid flashes that can trigger seizures in people with photosensitive epilepsy.",
                "vokdemo", MB_OK | MB_ICONWARNING);
}
