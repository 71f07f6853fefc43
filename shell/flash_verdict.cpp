#include "shell/flash_verdict.h"

#include <string>

#include "common/data_folder.h"

bool dataSetFailsFlashCheck(const DataFolder& data) {
    std::string verdict;
    return data.read("flashes.txt", verdict) && verdict.rfind("fail", 0) == 0;
}
