#pragma once
#include <string>
#include <vector>

#include "flash/flash_rules.h"

// What vokkit flashes is asked to do.
struct FlashOptions {
    std::string directory, rawFile;
    bool hasDirectory = false, hasRaw = false;
    int fps = 0;  // 0: not given
    flash::Reading rule = flash::Reading::Wcag;  // the reading that gives the status
    flash::FieldSize field = flash::wcagField;
    std::string plotFile, verdictFile, csvFile, heatMapFile;
};

extern const char* const flashUsageLine;

// Parses the arguments after "flashes"; on a bad command line returns
// false with the reason in one line.
bool parseFlashOptions(const std::vector<std::string>& args, FlashOptions& o, std::string& error);
