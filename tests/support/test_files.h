#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Scratch files for tests: each TempDir is a fresh directory removed with its
// contents when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    std::string write(const std::string& name, const std::string& contents) const;
    std::string write(const std::string& name, const std::vector<uint8_t>& contents) const;

private:
    std::string path_;
};

std::vector<uint8_t> readFileBytes(const std::string& path);
std::string readText(const std::string& path);  // the same bytes as a string; empty when unreadable
