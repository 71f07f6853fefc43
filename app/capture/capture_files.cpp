#include "app/capture/capture_files.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The partial files of the process, as plain strings a signal handler may read.
constexpr int maxPartialFiles = 8;
constexpr size_t maxPathLength = 4096;
char partialPaths[maxPartialFiles][maxPathLength];
volatile std::sig_atomic_t partialUsed[maxPartialFiles];

void removeAllPartialFiles() {
    for (int i = 0; i < maxPartialFiles; ++i)
        if (partialUsed[i]) unlink(partialPaths[i]);
}

void onSignal(int signal) {
    removeAllPartialFiles();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

int claimSlot(const std::string& path) {
    static bool atExitInstalled = false;
    if (!atExitInstalled) {
        std::atexit(removeAllPartialFiles);
        atExitInstalled = true;
    }
    if (path.size() >= maxPathLength) return -1;
    for (int i = 0; i < maxPartialFiles; ++i) {
        if (partialUsed[i]) continue;
        std::memcpy(partialPaths[i], path.c_str(), path.size() + 1);
        partialUsed[i] = 1;
        return i;
    }
    return -1;
}

}  // namespace

PartialFile::PartialFile(const std::string& finalPath)
    : finalPath_(finalPath), partPath_(finalPath + ".part"), slot_(claimSlot(partPath_)) {}

PartialFile::~PartialFile() { discard(); }

bool PartialFile::commit(std::string& error) {
    if (std::rename(partPath_.c_str(), finalPath_.c_str()) != 0) {
        error = "cannot write '" + finalPath_ + "': " + std::strerror(errno);
        discard();
        return false;
    }
    release();
    return true;
}

void PartialFile::discard() {
    if (!pending_) return;
    unlink(partPath_.c_str());
    release();
}

void PartialFile::release() {
    if (slot_ >= 0) partialUsed[slot_] = 0;
    slot_ = -1;
    pending_ = false;
}

void removePartialFilesOnSignals() {
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
}
