#include "kit/kit_support.h"

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>

#include "support/test_files.h"

CommandResult runCommand(const std::string& commandLine) {
    TempDir scratch;
    const std::string errFile = scratch.file("stderr");
    CommandResult result{-1, "", ""};
    FILE* pipe = popen((commandLine + " 2>" + errFile).c_str(), "r");
    if (!pipe) return result;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const std::vector<uint8_t> err = readFileBytes(errFile);
    result.err.assign(err.begin(), err.end());
    return result;
}

CommandResult runKit(const std::string& arguments) { return runCommand(std::string(VOK_KIT_BINARY) + " " + arguments); }

void copyDataSet(const std::string& directory) {
    std::filesystem::copy(VOK_DATA_DIR, directory, std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
}

bool fileExists(const std::string& path) { return std::filesystem::exists(path); }
