#include "app/sdl/flash_warning.h"

#include <SDL.h>

#include "shell/flash_verdict.h"

const char* const flashWarning =
    "This show has rapid flashes that can trigger seizures\n"
    "in people with photosensitive epilepsy;\n"
    "vokdemo --gentle softens them.";

void warnOfFlashes(const DataFolder& data) {
    if (!dataSetFailsFlashCheck(data)) return;
    // SDL's own box does not wrap, so the sentence carries its line breaks.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, "vokdemo", flashWarning, nullptr);
}
