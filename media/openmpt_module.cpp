#include "media/openmpt_module.h"

#include <libopenmpt/libopenmpt.hpp>
#include <vector>

#include "platform/platform.h"

std::unique_ptr<openmpt::module> loadModule(const char* fileName, std::ostream& log, std::string& problem) {
    std::string bytes;
    if (!platform::readDataFile(fileName, bytes)) {
        problem = "cannot read the music " + platform::dataPath(fileName);
        return nullptr;
    }
    try {
        auto module = std::make_unique<openmpt::module>(std::vector<char>(bytes.begin(), bytes.end()), log);
        module->set_repeat_count(0);
        return module;
    } catch (const std::exception& error) {
        problem = "cannot load the music " + platform::dataPath(fileName) + ": " + error.what();
        return nullptr;
    }
}
