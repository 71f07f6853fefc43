#include "memory_file.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

MemoryFile::MemoryFile() : fd_(memfd_create("vokfuzz", 0)) {
    if (fd_ < 0) {
        std::perror("memfd_create");
        std::abort();
    }
    path_ = "/proc/self/fd/" + std::to_string(fd_);
}

MemoryFile::~MemoryFile() { close(fd_); }

void MemoryFile::write(const uint8_t* data, size_t size) {
    if (ftruncate(fd_, 0) != 0 || (size > 0 && pwrite(fd_, data, size, 0) != static_cast<ssize_t>(size))) {
        std::perror("memory file");
        std::abort();
    }
}
