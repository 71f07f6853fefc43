#pragma once
#include <string>

// The kit's help: every command's, or one command's (vokkit COMMAND --help).
std::string kitUsage();
// The help of `command` with the exit statuses; empty for a command the kit
// does not have.
std::string commandUsage(const std::string& command);
