#include "media/openmpt_module.h"

#include <libopenmpt/libopenmpt.hpp>
#include <vector>

#include "common/data_folder.h"

std::unique_ptr<openmpt::module> loadModule(const std::string& path, std::ostream& log, std::string& problem) {
    std::string bytes;
    if (!readFile(path, bytes)) {
        problem = "cannot read the music " + path;
        return nullptr;
    }
    try {
        auto module = std::make_unique<openmpt::module>(std::vector<char>(bytes.begin(), bytes.end()), log);
        module->set_repeat_count(0);
        return module;
    } catch (const std::exception& error) {
        problem = "cannot load the music " + path + ": " + error.what();
        return nullptr;
    }
}
