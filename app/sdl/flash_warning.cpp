#include "app/sdl/flash_warning.h"

#include <SDL.h>

#include "shell/flash_verdict.h"

std::string flashWarningBox(const std::string& warning, size_t width) {
    const std::string text = warning + " vokdemo --gentle holds back only those flashes; the rest plays as made.";
    std::string box, line;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(start, end - start);
        if (!line.empty() && line.size() + 1 + word.size() > width) box += line + "\n", line.clear();
        line += (line.empty() ? "" : " ") + word;
        start = end + 1;
    }
    return box + line;
}

void warnOfFlashes(const DataFolder& data) {
    const std::string warning = flashWarning(data);
    if (warning.empty()) return;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, "vokdemo", flashWarningBox(warning).c_str(), nullptr);
}
