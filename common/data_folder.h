#pragma once
#include <cstdio>
#include <string>

// The folder the show's data files are read from, named by the program that
// runs the show. Data files are named by their bare names; an empty folder is
// the working directory, and absolute names are left as they are.
class DataFolder {
public:
    DataFolder() = default;
    explicit DataFolder(std::string directory) : directory_(std::move(directory)) {}

    const std::string& directory() const { return directory_; }
    std::string path(const char* name) const;
    FILE* open(const char* name, const char* mode) const;
    // Reads a whole file in binary. False when it cannot be opened; a read
    // error ends the bytes where it happened.
    bool read(const char* name, std::string& bytes) const;

private:
    std::string directory_;
};

// Reads a whole file in binary, as DataFolder::read does, by its path.
bool readFile(const std::string& path, std::string& bytes);

// Opens a file as fopen does, but refuses a directory (errno EISDIR), which
// POSIX systems would open and then fail to read; so a folder named like a
// data file is missing on every platform, as it is on Windows.
FILE* openFile(const std::string& path, const char* mode);
