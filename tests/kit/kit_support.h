#pragma once
#include <string>

// Runs programs for the kit tests.
struct CommandResult {
    int exitCode;
    std::string out;  // standard output
    std::string err;  // standard error
};

// Runs a shell command line and collects both outputs.
CommandResult runCapturingErrors(const std::string& commandLine);

// Runs vokkit with the given arguments.
CommandResult runKit(const std::string& arguments);

// A copy of the project's data set in `directory`.
void copyDataSet(const std::string& directory);

bool fileExists(const std::string& path);
