#pragma once
#include <string>

// A shell command run to its end, with its standard output and exit code
// (-1 when it did not exit normally).
struct CommandRun {
    int exitCode = -1;
    std::string out;
};

CommandRun runCommand(const std::string& command);
