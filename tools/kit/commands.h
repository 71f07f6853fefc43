#pragma once
#include <string>
#include <vector>

// Exit statuses of the kit.
constexpr int exitOk = 0;
constexpr int exitProblems = 1;  // check: some file will not play as intended
constexpr int exitBadInput = 2;  // unreadable or refused input, bad command line

// Each takes the arguments after its command name.
int runPicture(const std::vector<std::string>& args);
int runMesh(const std::vector<std::string>& args);
int runCheck(const std::vector<std::string>& args);
int runFlashes(const std::vector<std::string>& args);

// Prints "vokkit: SUBJECT: REASON" on standard error and returns exitBadInput.
int refuse(const std::string& subject, const std::string& reason);
