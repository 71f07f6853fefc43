#include "shell/flash_verdict.h"

#include <string>

#include "platform/platform.h"

bool dataSetFailsFlashCheck() {
    std::string verdict;
    return platform::readDataFile("flashes.txt", verdict) && verdict.rfind("fail", 0) == 0;
}
