#pragma once
#include <memory>
#include <ostream>
#include <string>

namespace openmpt {
class module;
}

// The show's module loaded into libopenmpt from the file at `path`, to play
// once through. Null, with the reason in `problem`, when the file cannot be
// read or libopenmpt refuses it. libopenmpt writes its own messages to `log`.
std::unique_ptr<openmpt::module> loadModule(const std::string& path, std::ostream& log, std::string& problem);
