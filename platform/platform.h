#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

// The small interface between the portable core and the machine it runs on.
// The core calls only these; each backend installs its own tick counter and
// key poll at start-up. The defaults (a steady millisecond counter, a key poll
// that is always false) serve tests and the headless renderer.
namespace platform {

using TickCounter = uint32_t (*)();
using KeyPoll = bool (*)();

void setTickCounter(TickCounter counter);  // nullptr restores the default
uint32_t tickCount();                      // 32-bit milliseconds, wraps

void setKeyPoll(KeyPoll poll);  // nullptr restores the default (always false)
bool keyPressWaiting();         // a key press waits unread; never consumes it

// Data files are named by their bare names; they are read from the data
// directory, which is empty (the working directory) unless set.
void setDataDirectory(const std::string& directory);
const std::string& dataDirectory();
std::string dataPath(const char* name);  // absolute names are left as they are
// Opens a file as fopen does, but refuses a directory (errno EISDIR), which
// POSIX systems would open and then fail to read; so a folder named like a
// data file is missing on every platform, as it is on Windows.
FILE* openFile(const std::string& path, const char* mode);
FILE* openDataFile(const char* name, const char* mode);
// Reads a whole data file in binary. False when it cannot be opened; a read
// error ends the bytes where it happened.
bool readDataFile(const char* name, std::string& bytes);

}  // namespace platform
