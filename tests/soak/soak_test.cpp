// Twenty shows back to back in one process, and a hundred rounds of a looping
// show: every show and every round gives the same frames, and the process
// holds no more memory after the twentieth show than after the first. In the
// sanitizer build this also finds anything a show leaves behind.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/messages.h"
#include "shell/show_control.h"
#include "shell/show_run.h"

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

// A hash of a frame's bytes.
uint64_t hashOf(const Image& image) {
    return std::hash<std::string_view>{}(
        std::string_view(reinterpret_cast<const char*>(image.pixels), static_cast<size_t>(image.count()) * 4));
}

// One value per frame of a whole show.
std::vector<uint64_t> runShow() {
    MessageLog messages;
    std::vector<uint64_t> hashes;
    headless::ShowRun run(fps, 0, ShowContext(messages, DataFolder(VOK_DATA_DIR)));
    EXPECT_EQ(run.startFailure(), 0) << messages.warnings;
    EXPECT_TRUE(messages.warnings.empty()) << messages.warnings;
    while (run.renderNext()) hashes.push_back(hashOf(run.image()));
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

namespace {

// The hashes of every frame of `loops` rounds of a looping show on a virtual
// clock from `t0`, one vector a round.
std::vector<std::vector<uint64_t>> loopShow(int loops, uint32_t t0) {
    MessageLog messages;
    headless::VirtualClock clock(t0);
    headless::ShowRun run(clock, ShowContext(messages, DataFolder(VOK_DATA_DIR)));
    MusicFollower music;
    Backend quiet;
    ShowControl control(run.demo(), music);
    control.setLoop(true);
    std::vector<std::vector<uint64_t>> rounds(1);
    for (int64_t k = 0; control.loops() < loops || rounds.back().size() < rounds.front().size(); ++k) {
        clock.set(t0 + headless::frameMilliseconds(k, fps));
        const int before = control.loops();
        EXPECT_TRUE(control.step(quiet)) << "the looping show took its end step";
        if (control.loops() != before) rounds.emplace_back();
        rounds.back().push_back(hashOf(run.image()));
    }
    return rounds;
}

}  // namespace

// A looping show begins again at its end, round after round, also across a
// wrap of the tick counter, and each round draws what the first drew: the
// hundredth ends in the same state as the first.
TEST(Soak, AHundredLoopsDrawTheFirstRoundAgain) {
    for (uint32_t t0 : {0u, 0xFFFFFFFFu - 30000u}) {
        SCOPED_TRACE("t0 " + std::to_string(t0));
        const std::vector<std::vector<uint64_t>> rounds = loopShow(100, t0);
        ASSERT_EQ(rounds.size(), 101u);
        EXPECT_EQ(rounds.front().size(), static_cast<size_t>(headless::expectedFrameCount(fps)));
        for (size_t round = 1; round < rounds.size(); ++round) ASSERT_EQ(rounds[round], rounds[0]) << "round " << round;
    }
}
