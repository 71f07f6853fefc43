// Twenty shows back to back in one process: every show gives the same frames,
// and the process holds no more memory after the twentieth than after the
// first. In the sanitizer build this also finds anything a show leaves behind.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "shell/show_run.h"
#include "common/messages.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VOK_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VOK_ASAN 1
#endif

#ifdef VOK_ASAN
#include <cstddef>
// The heap bytes in use, from the sanitizer's allocator.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
// Freed memory goes back to the system at once instead of waiting in the
// sanitizer's quarantine, so the resident size measures what the shows hold.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=0"; }
#endif

namespace {

constexpr int shows = 20;
constexpr int fps = 1;  // about 100 frames a show, every scene at least four times
constexpr long mebibyte = 1024 * 1024;

long residentBytes() {
    long pages = 0, resident = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm) return -1;
    int read = std::fscanf(statm, "%ld %ld", &pages, &resident);
    std::fclose(statm);
    return read == 2 ? resident * 4096 : -1;
}

// FNV-1a over every frame's bytes, one value per frame.
std::vector<uint64_t> runShow() {
    MessageLog messages;
    std::vector<uint64_t> hashes;
    headless::ShowRun run(fps, 0, ShowContext(messages, DataFolder(VOK_DATA_DIR)));
    EXPECT_EQ(run.startFailure(), 0) << messages.warnings;
    EXPECT_TRUE(messages.warnings.empty()) << messages.warnings;
    while (run.renderNext()) {
        const Image& image = run.image();
        uint64_t hash = 14695981039346656037ull;
        for (int64_t i = 0; i < static_cast<int64_t>(image.count()) * 4; ++i) hash = (hash ^ image.pixels[i]) * 1099511628211ull;
        hashes.push_back(hash);
    }
    EXPECT_FALSE(run.overran());
    return hashes;
}

}  // namespace

TEST(Soak, TwentyShowsGiveTheSameFramesAndHoldNoMoreMemory) {
    std::vector<uint64_t> first = runShow();
    ASSERT_EQ(static_cast<int64_t>(first.size()), headless::expectedFrameCount(fps));
    long residentAfterFirst = residentBytes();
#ifdef VOK_ASAN
    long heapAfterFirst = static_cast<long>(__sanitizer_get_current_allocated_bytes());
#endif
    for (int show = 2; show <= shows; ++show) {
        std::vector<uint64_t> again = runShow();
        ASSERT_EQ(again, first) << "show " << show << " drew other frames";
    }
    long residentAfterLast = residentBytes();
    EXPECT_NEAR(residentAfterLast, residentAfterFirst, mebibyte)
        << "resident after show 1: " << residentAfterFirst << ", after show " << shows << ": " << residentAfterLast;
#ifdef VOK_ASAN
    long heapAfterLast = static_cast<long>(__sanitizer_get_current_allocated_bytes());
    EXPECT_NEAR(heapAfterLast, heapAfterFirst, mebibyte) << "heap bytes in use";
#endif
}
