#include "app/win32/win32_flash_warning.h"

#include <windows.h>

#include "shell/flash_verdict.h"

void warnOfFlashes(const DataFolder& data) {
    if (!dataSetFailsFlashCheck(data)) return;
    MessageBoxA(nullptr,
                "This show has rapid flashes that can trigger seizures in people with photosensitive epilepsy.",
                "vokdemo", MB_OK | MB_ICONWARNING);
}
