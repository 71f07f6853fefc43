#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/messages.h"

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

// Drops the core's progress text and warnings: the fuzzer looks only for
// crashes, and printing would slow it down.
class DiscardMessages : public MessageSink {
public:
    void text(const std::string&) override {}
    void warning(const std::string&) override {}
};
