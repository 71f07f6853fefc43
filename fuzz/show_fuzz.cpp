// The whole show on the project's data set with one file replaced by the
// fuzzer's bytes: the first byte of an input picks the file, the rest is its
// content. Each input loads a fresh Demo and renders the first, second, middle
// and last frames of every scene on a virtual clock.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "demo/data_files.h"
#include "demo/demo.h"
#include "demo/scenes.h"
#include "memory_file.h"
#include "shell/show_run.h"
#include "wire3d/math3d.h"

namespace {

// The files the Demo reads: the data table's, less the music (the show's
// pictures never depend on it, and only the players read it).
std::vector<const char*> demoFiles() {
    std::vector<const char*> names;
    for (const DataFile& file : dataFiles) {
        if (file.kind != DataKind::Module) names.push_back(file.name);
    }
    return names;
}
const std::vector<const char*> showFiles = demoFiles();

using Bytes = std::vector<uint8_t>;

std::string workDirectory;
std::vector<Bytes> originals;
std::vector<uint32_t> frameTimes;  // milliseconds of show time

Bytes readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "show_fuzz: cannot read %s (set VOK_FUZZ_DATA to the data set)\n", path.c_str());
        std::exit(1);
    }
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeWhole(const std::string& path, const uint8_t* data, size_t size) {
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out || (size > 0 && std::fwrite(data, 1, size, out) != size) || std::fclose(out) != 0) {
        std::perror(path.c_str());
        std::abort();
    }
}

void removeWorkDirectory() {
    for (const char* name : showFiles) unlink((workDirectory + "/" + name).c_str());
    rmdir(workDirectory.c_str());
}

// A private copy of the data set, so that replacing a file touches nothing shared.
void makeWorkDirectory(const std::string& dataDirectory) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vokfuzz.XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    workDirectory = pattern;
    std::atexit(removeWorkDirectory);
    for (const char* name : showFiles) {
        originals.push_back(readWhole(dataDirectory + "/" + name));
        writeWhole(workDirectory + "/" + name, originals.back().data(), originals.back().size());
    }
}

// The first, second (20 ms later), middle and last millisecond of every scene.
void chooseFrameTimes() {
    uint32_t start = 0;
    for (uint32_t ms = 1;; ++ms) {
        if (sceneAtMs(ms) == sceneAtMs(start)) continue;
        uint32_t last = ms - 1;
        for (uint32_t t : {start, start + 20, start + (last - start) / 2, last})
            if (t <= last && (frameTimes.empty() || t > frameTimes.back())) frameTimes.push_back(t);
        if (sceneAtMs(ms) == sceneEnd) break;
        start = ms;
    }
}

void runShow() {
    static DiscardMessages messages;
    headless::VirtualClock clock;
    headless::ShowRun run(clock, ShowContext(messages, DataFolder(workDirectory)));
    if (run.startFailure() != 0) return;  // a missing mesh: the show ends before it starts
    for (uint32_t ms : frameTimes) run.stepAfter(ms - clock.now());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* data = std::getenv("VOK_FUZZ_DATA");
    makeWorkDirectory(data && *data ? data : VOK_FUZZ_DEFAULT_DATA);
    chooseFrameTimes();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return -1;  // no file selector: not an input of this target
    int file = data[0] % static_cast<int>(showFiles.size());
    std::string path = workDirectory + "/" + showFiles[file];
    writeWhole(path, data + 1, size - 1);
    runShow();
    writeWhole(path, originals[file].data(), originals[file].size());
    return 0;
}
