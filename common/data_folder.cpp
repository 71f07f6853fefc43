#include "common/data_folder.h"

#include <cerrno>
#include <filesystem>

namespace {

bool isAbsolute(const char* name) {
    if (name[0] == '/' || name[0] == '\\') return true;
    return name[0] != '\0' && name[1] == ':';  // a drive letter
}

}  // namespace

std::string DataFolder::path(const char* name) const {
    if (directory_.empty() || isAbsolute(name)) return name;
    const char last = directory_.back();
    return (last == '/' || last == '\\') ? directory_ + name : directory_ + "/" + name;
}

FILE* DataFolder::open(const char* name, const char* mode) const { return openFile(path(name), mode); }

bool DataFolder::read(const char* name, std::string& bytes) const { return readFile(path(name), bytes); }

bool readFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    FILE* file = openFile(path, "rb");
    if (!file) return false;
    char block[65536];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.append(block, got);
    std::fclose(file);
    return true;
}

FILE* openFile(const std::string& path, const char* mode) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        errno = EISDIR;
        return nullptr;
    }
    return std::fopen(path.c_str(), mode);
}
