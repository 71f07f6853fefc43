#include <cstdio>
#include <string>

#include "platform/data_location.h"
#include "app/cli/options.h"
#include "app/cli/runners.h"

int main(int argc, char** argv) {
    Options options;
    std::string error;
    if (!parseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "vokdemo: %s\n", error.c_str());
        return 2;
    }
    if (options.mode == Options::Mode::Version) {
        std::fputs(versionText(), stdout);
        return 0;
    }
    const DataLocation data = findDataSet(options.dataDir);
    if (options.mode == Options::Mode::Help) {
        std::fputs(usageText(), stdout);
        std::printf("\nData files: %s\n", describeDataLocation(data).c_str());
        return 0;
    }
    // Without a data set every mesh is missing, which ends the show with code 1.
    if (data.source == DataLocation::Source::None) {
        std::fprintf(stderr, "vokdemo: %s\n", data.error.c_str());
        return 1;
    }
    for (const std::string& problem : dataSetProblems(data.directory)) {
        std::fprintf(stderr, "vokdemo: %s\n", problem.c_str());
    }
    options.dataDir = data.directory;

    switch (options.mode) {
        case Options::Mode::Render:
            return runHeadless(options);
        case Options::Mode::Capture:
            return runCapture(options);
        case Options::Mode::Verify:
            return runVerify(options);
        default:
            return runPlayer(options);
    }
}
