#include "app/sdl/flash_warning.h"

#include <SDL.h>

#include <string>

#include "platform/platform.h"

const char* const flashWarning =
    "This show has rapid flashes that can trigger seizures\n"
    "in people with photosensitive epilepsy;\n"
    "vokdemo --gentle softens them.";

void warnOfFlashes() {
    std::string verdict;
    if (!platform::readDataFile("flashes.txt", verdict) || verdict.rfind("fail", 0) != 0) return;
    // SDL's own box does not wrap, so the sentence carries its line breaks.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, "vokdemo", flashWarning, nullptr);
}
