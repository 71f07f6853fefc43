#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// A file that lives in memory only (an anonymous memory file), reachable by a
// path the readers can open. Each input of a fuzz target replaces its bytes.
class MemoryFile {
public:
    MemoryFile();
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    void write(const uint8_t* data, size_t size);
    const char* path() const { return path_.c_str(); }

private:
    int fd_;
    std::string path_;
};

// Sends standard output to /dev/null: the mesh reader's progress text would
// only slow the fuzzer down.
void silenceStandardOutput();
