#include "app/cli/screensaver_arguments.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace {

bool parseHandle(const std::string& text, uint64_t& handle) {
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0]))) return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value == 0) return false;
    handle = value;
    return true;
}

// The handle after "/x:" in the same argument, or in the next one.
bool handleOf(const std::string& first, int argc, char** argv, uint64_t& handle) {
    if (first.size() > 2 && first[2] == ':') return parseHandle(first.substr(3), handle);
    if (first.size() > 2) return false;
    return argc > 2 && parseHandle(argv[2], handle);
}

}  // namespace

bool parseScreensaverArguments(int argc, char** argv, ScreensaverArguments& arguments, std::string& error) {
    arguments = ScreensaverArguments{};
    if (argc < 2) return true;  // nothing: the settings
    const std::string first = argv[1];
    const char letter = first.size() >= 2 && (first[0] == '/' || first[0] == '-')
                            ? static_cast<char>(std::tolower(static_cast<unsigned char>(first[1])))
                            : '\0';
    switch (letter) {
        case 's':
            if (first.size() != 2) break;
            arguments.mode = ScreensaverArguments::Mode::Show;
            return true;
        case 'p':
            arguments.mode = ScreensaverArguments::Mode::Preview;
            if (handleOf(first, argc, argv, arguments.window)) return true;
            error = "'" + first + "' needs the preview window's handle, as /p HWND or /p:HWND";
            return false;
        case 'c':
            if (first.size() == 2 || handleOf(first, argc, argv, arguments.window)) return true;
            break;
    }
    error = "unknown argument '" + first + "': a screensaver takes /s, /p HWND or /c";
    return false;
}
