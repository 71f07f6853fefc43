// vokkit: converts pictures and models into the files the show reads, and
// checks a data folder the way the show will read it.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "commands.h"
#include "kit_help.h"

namespace {

// "--help" or "-h" among a command's arguments.
bool asksForHelp(const std::vector<std::string>& args) {
    for (const std::string& a : args)
        if (a == "--help" || a == "-h") return true;
    return false;
}

}  // namespace

int refuse(const std::string& subject, const std::string& reason) {
    std::fprintf(stderr, "vokkit: %s: %s\n", subject.c_str(), reason.c_str());
    return exitBadInput;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(kitUsage().c_str(), stderr);
        return exitBadInput;
    }
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kitUsage().c_str(), stdout);
        return exitOk;
    }
    const std::string help = commandUsage(command);
    if (!help.empty() && asksForHelp(args)) {
        std::fputs(help.c_str(), stdout);
        return exitOk;
    }
    if (command == "picture") return runPicture(args);
    if (command == "mesh") return runMesh(args);
    if (command == "check") return runCheck(args);
    if (command == "flashes") return runFlashes(args);
    std::fprintf(stderr, "vokkit: unknown command '%s'\n\n%s", command.c_str(), kitUsage().c_str());
    return exitBadInput;
}
