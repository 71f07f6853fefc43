#include "platform/platform.h"

#include <sys/stat.h>

#include <cerrno>
#include <chrono>

namespace platform {
namespace {

uint32_t steadyMilliseconds() {
    using namespace std::chrono;
    static const steady_clock::time_point origin = steady_clock::now();
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now() - origin).count());
}

bool neverPressed() { return false; }

TickCounter tickCounter = steadyMilliseconds;
KeyPoll keyPoll = neverPressed;
std::string dataDir;

bool isAbsolute(const char* name) {
    if (name[0] == '/' || name[0] == '\\') return true;
    return name[0] != '\0' && name[1] == ':';  // a drive letter
}

}  // namespace

void setTickCounter(TickCounter counter) { tickCounter = counter ? counter : steadyMilliseconds; }
uint32_t tickCount() { return tickCounter(); }

void setKeyPoll(KeyPoll poll) { keyPoll = poll ? poll : neverPressed; }
bool keyPressWaiting() { return keyPoll(); }

void setDataDirectory(const std::string& directory) { dataDir = directory; }
const std::string& dataDirectory() { return dataDir; }

std::string dataPath(const char* name) {
    if (dataDir.empty() || isAbsolute(name)) return name;
    char last = dataDir.back();
    return (last == '/' || last == '\\') ? dataDir + name : dataDir + "/" + name;
}

FILE* openFile(const std::string& path, const char* mode) {
    FILE* file = std::fopen(path.c_str(), mode);
    struct stat status;
    if (file && fstat(fileno(file), &status) == 0 && S_ISDIR(status.st_mode)) {
        std::fclose(file);
        errno = EISDIR;
        return nullptr;
    }
    return file;
}

FILE* openDataFile(const char* name, const char* mode) { return openFile(dataPath(name), mode); }

bool readDataFile(const char* name, std::string& bytes) {
    bytes.clear();
    FILE* file = openDataFile(name, "rb");
    if (!file) return false;
    char block[65536];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.append(block, got);
    std::fclose(file);
    return true;
}

}  // namespace platform
