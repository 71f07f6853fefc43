#include "platform/data_location.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "demo/data_files.h"
#include "common/data_folder.h"

namespace fs = std::filesystem;

namespace {

bool isDirectory(const std::string& path) {
    std::error_code ignored;
    return fs::is_directory(path, ignored);
}

bool holdsAnyDataFile(const std::string& directory) {
    std::error_code ignored;
    for (const DataFile& file : dataFiles) {
        if (fs::exists(fs::path(directory) / file.name, ignored)) return true;
    }
    return false;
}

// The header of a 24-bit PCX picture: the maker byte 10, 8 bits a plane, three planes.
bool looksLikePcx24(FILE* file) {
    unsigned char header[128];
    if (std::fread(header, 1, sizeof header, file) != sizeof header) return false;
    return header[0] == 10 && header[3] == 8 && header[65] == 3;
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

}  // namespace

DataLocation locateDataSet(const DataPlaces& places) {
    DataLocation location;
    if (!places.option.empty()) {
        std::error_code ignored;
        if (!fs::exists(places.option, ignored)) {
            location.error = "the data directory '" + places.option + "' does not exist";
        } else if (!isDirectory(places.option)) {
            location.error = "'" + places.option + "' is not a directory";
        } else {
            location.source = DataLocation::Source::Option;
            location.directory = places.option;
        }
        return location;
    }
    if (holdsAnyDataFile(places.workingDirectory)) {
        location.source = DataLocation::Source::WorkingDirectory;
        return location;
    }
    if (!places.installed.empty() && isDirectory(places.installed)) {
        location.source = DataLocation::Source::Installed;
        location.directory = places.installed;
        return location;
    }
    location.error = "no data set found: none in the working directory (" + places.workingDirectory +
                     "), no --data DIR given, none installed in " + places.installed;
    return location;
}

#ifdef _WIN32
// Windows keeps the data set in the program's own folder, as its zip does.
std::string installedDataDirectory() {
    char self[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return "";
    return fs::path(self).parent_path().string();
}
#else
std::string installedDataDirectory() {
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length > 0) {
        self[length] = '\0';
        const fs::path beside = fs::path(self).parent_path() / VOK_INSTALLED_DATA_RELATIVE;
        if (isDirectory(beside.string())) return beside.lexically_normal().string();
    }
    return VOK_INSTALLED_DATA_DIR;
}
#endif

std::vector<std::string> dataSetProblems(const std::string& directory) {
    const std::string shown = directory.empty() ? "the working directory" : directory;
    std::vector<std::string> problems, missing, broken;
    for (const DataFile& file : dataFiles) {
        if (file.kind == DataKind::Module) continue;
        const char* name = file.name;
        const std::string path = directory.empty() ? name : (fs::path(directory) / name).string();
        FILE* opened = openFile(path, "rb");
        if (!opened) {
            if (errno == ENOENT) {
                missing.push_back(name);
            } else {
                problems.push_back("cannot read " + path + " (" + std::strerror(errno) + ")");
            }
            continue;
        }
        const bool picture = file.kind == DataKind::ScreenPicture || file.kind == DataKind::Sprite;
        if (picture && !looksLikePcx24(opened)) broken.push_back(name);
        std::fclose(opened);
    }
    if (!missing.empty()) problems.insert(problems.begin(), "the data set in " + shown + " lacks " + joined(missing));
    if (!broken.empty()) problems.push_back("not 24-bit PCX pictures in " + shown + ": " + joined(broken));
    return problems;
}

std::string describeDataLocation(const DataLocation& location) {
    switch (location.source) {
        case DataLocation::Source::Option:
            return location.directory + " (given with --data)";
        case DataLocation::Source::WorkingDirectory:
            return "the working directory";
        case DataLocation::Source::Installed:
            return location.directory + " (the installed data set)";
        case DataLocation::Source::None:
            break;
    }
    return location.error;
}

DataLocation findDataSet(const std::string& dataOption) {
    std::error_code ignored;
    DataPlaces places;
    places.option = dataOption;
    places.workingDirectory = std::filesystem::current_path(ignored).string();
    places.installed = installedDataDirectory();
    return locateDataSet(places);
}
