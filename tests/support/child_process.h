#pragma once
#include <string>
#include <vector>

// Runs a program to its end or to a time limit, with its standard output and
// error captured.
struct ChildResult {
    bool started = false;   // false: fork or exec failed (see output)
    bool timedOut = false;  // stopped at either time limit
    int exitCode = -1;      // when it exited by itself
    int signal = 0;         // when a signal ended it
    std::string output;     // standard output
    std::string errors;     // standard error
};

// A hang is told by processor time, so that a loaded machine does not turn a
// slow run into a hang; the wall-clock limit only bounds a program that waits.
struct ChildOptions {
    int cpuLimitSeconds = 10;
    double wallLimitSeconds = 120.0;
    std::string workingDirectory;  // empty: this process's
    bool dropRootPrivileges = false;  // as root, run as uid and gid 65534
};

ChildResult runChild(const std::vector<std::string>& arguments, const ChildOptions& options);
