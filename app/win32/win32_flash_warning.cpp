#include "app/win32/win32_flash_warning.h"

#include <windows.h>

#include "shell/flash_verdict.h"

bool agreesToFlashes(const DataFolder& data) {
    if (!dataSetFailsFlashCheck(data)) return true;
    const int answer = MessageBoxA(nullptr,
                                   "This show has rapid flashes that can trigger seizures in people with "
                                   "photosensitive epilepsy.\n\n"
                                   "OK plays the show; Cancel quits. (vokdemo --gentle plays it softened so that it "
                                   "passes the flash check.)",
                                   "vokdemo", MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON1);
    return answer == IDOK;
}
