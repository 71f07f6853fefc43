#include <cstdio>
#include <string>

#include "app/cli/options.h"
#include "app/cli/runners.h"

int main(int argc, char** argv) {
    Options options;
    std::string error;
    if (!parseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "vokdemo: %s\n", error.c_str());
        return 2;
    }
    switch (options.mode) {
        case Options::Mode::Help:
            std::fputs(usageText(), stdout);
            return 0;
        case Options::Mode::Version:
            std::fputs(versionText(), stdout);
            return 0;
        case Options::Mode::Render:
            return runHeadless(options);
        case Options::Mode::Capture:
            return runCapture(options);
        case Options::Mode::Play:
            break;
    }
    return runPlayer(options);
}
