#include "kit/kit_support.h"

#include <filesystem>

#include "support/command.h"
#include "support/test_files.h"

CommandResult runCapturingErrors(const std::string& commandLine) {
    TempDir scratch;
    const std::string errFile = scratch.file("stderr");
    const CommandRun run = runCommand(commandLine + " 2>" + errFile);
    const std::vector<uint8_t> err = readFileBytes(errFile);
    return CommandResult{run.exitCode, run.out, std::string(err.begin(), err.end())};
}

CommandResult runKit(const std::string& arguments) {
    return runCapturingErrors(std::string(VOK_KIT_BINARY) + " " + arguments);
}

void copyDataSet(const std::string& directory) {
    std::filesystem::copy(VOK_DATA_DIR, directory, std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
}

bool fileExists(const std::string& path) { return std::filesystem::exists(path); }
