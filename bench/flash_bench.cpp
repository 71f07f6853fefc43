// The flash analyser, today's and the one it replaced (former_flash_analyser,
// kept here only to compare), on the same frames in one run:
//  - BM_FlashShow: the project's whole show at 60 frames a second, rendered
//    as the kit renders it, each frame given to both; only the analysers'
//    processor time is counted, with the whole show's, the average and the
//    worst frame of each; and --gentle's screen, which runs the new one live
//    and holds back what would go over the limit. Skips when the data set
//    has not been built.
//  - BM_FlashStill, _Jitter, _Noise: a still picture (no pixel changes), a
//    picture jittering by 0 to 7 pixels every frame like the credits overlay
//    (most pixels change, many flash), and noise (every pixel changes every
//    frame).
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "common/data_folder.h"
#include "common/messages.h"
#include "common/show_context.h"
#include "flash/flash_analyser.h"
#include "flash/gentle_screen.h"
#include "former_flash_analyser.h"
#include "shell/show_run.h"

namespace {

using Frame = std::vector<uint8_t>;

uint32_t nextRandom(uint32_t& state) {
    state = state * 214013u + 2531011u;
    return (state >> 16) & 0x7FFF;
}

// A picture of soft blobs and sharp stripes, moved by (dx, dy).
Frame pattern(int dx, int dy) {
    Frame frame(flash::frameBytes);
    for (int y = 0; y < flash::frameHeight; ++y) {
        for (int x = 0; x < flash::frameWidth; ++x) {
            const int u = x + dx, v = y + dy;
            uint8_t* p = &frame[4 * (y * flash::frameWidth + x)];
            p[0] = static_cast<uint8_t>((u * 7 + v * 3) & 0xFF);
            p[1] = static_cast<uint8_t>(((u / 4 + v / 4) & 1) ? 230 : 20);
            p[2] = static_cast<uint8_t>((u * v) & 0xFF);
        }
    }
    return frame;
}

std::vector<Frame> stillFrames() { return {pattern(0, 0)}; }

std::vector<Frame> jitterFrames() {
    std::vector<Frame> frames;
    uint32_t seed = 123;
    for (int i = 0; i < 64; ++i) {
        const int dy = static_cast<int>(nextRandom(seed) % 8);
        frames.push_back(pattern(static_cast<int>(nextRandom(seed) % 8), dy));
    }
    return frames;
}

std::vector<Frame> noiseFrames() {
    std::vector<Frame> frames(64, Frame(flash::frameBytes));
    uint32_t seed = 7;
    for (Frame& frame : frames)
        for (uint8_t& byte : frame) byte = static_cast<uint8_t>(nextRandom(seed));
    return frames;
}

// Either analyser behind one call: frame k of a 60-frames-a-second stream.
struct NewAnalyser {
    flash::FlashAnalyser analyser;
    void add(const uint8_t* bgra, int64_t k) { benchmark::DoNotOptimize(analyser.addFrame(bgra, flash::frameMs(k, 60))); }
};
struct FormerAnalyser {
    former_flash::FlashAnalyser analyser{60};
    void add(const uint8_t* bgra, int64_t) { benchmark::DoNotOptimize(analyser.addFrame(bgra)); }
};

template <typename Analyser>
void BM_FlashFrames(benchmark::State& state, std::vector<Frame> (*make)()) {
    const std::vector<Frame> frames = make();
    Analyser analyser;
    int64_t k = 0;
    for (auto _ : state) {
        analyser.add(frames[static_cast<size_t>(k) % frames.size()].data(), k);
        ++k;
    }
    state.SetItemsProcessed(state.iterations());
}

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

bool dataSetPresent() {
    FILE* file = DataFolder(VOK_DATA_DIR).open("zumber.xm", "rb");
    if (file) std::fclose(file);
    return file != nullptr;
}

// Each iteration renders the whole show once and gives every frame to both
// analysers in turn, timing each on the thread's processor clock. A frame's
// time is its least over the iterations, which leaves out what other work
// on a busy machine adds to it; the iteration's time is the new analyser's.
void BM_FlashShow(benchmark::State& state) {
    if (!dataSetPresent()) return state.SkipWithError("the data set has not been generated");
    std::vector<double> former, now, gentle;
    for (auto _ : state) {
        MessageLog messages;
        headless::ShowRun run(60, 0, ShowContext(messages, DataFolder(VOK_DATA_DIR)));
        FormerAnalyser formerAnalyser;
        NewAnalyser newAnalyser;
        GentleScreen gentleScreen;
        double newSeconds = 0;
        for (size_t k = 0; run.renderNext(); ++k) {
            if (former.size() <= k) former.push_back(1e9), now.push_back(1e9), gentle.push_back(1e9);
            double start = threadSeconds();
            formerAnalyser.add(run.image().pixels, static_cast<int64_t>(k));
            const double middle = threadSeconds();
            newAnalyser.add(run.image().pixels, static_cast<int64_t>(k));
            const double end = threadSeconds();
            benchmark::DoNotOptimize(gentleScreen.show(run.image(), flash::frameMs(static_cast<int64_t>(k), 60)).pixels);
            const double shown = threadSeconds();
            former[k] = std::min(former[k], middle - start);
            now[k] = std::min(now[k], end - middle);
            gentle[k] = std::min(gentle[k], shown - end);
            newSeconds += end - middle;
        }
        state.SetIterationTime(newSeconds);
    }
    const auto report = [&](const char* name, const std::vector<double>& times) {
        double total = 0, worst = 0;
        for (double t : times) total += t, worst = std::max(worst, t);
        state.counters[std::string(name) + "_show_s"] = total;
        state.counters[std::string(name) + "_avg_ms"] = 1000 * total / static_cast<double>(times.size());
        state.counters[std::string(name) + "_worst_ms"] = 1000 * worst;
    };
    report("former", former);
    report("new", now);
    report("gentle", gentle);
}

BENCHMARK(BM_FlashShow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_FlashFramesFormer(benchmark::State& state, std::vector<Frame> (*make)()) {
    BM_FlashFrames<FormerAnalyser>(state, make);
}
void BM_FlashFramesNew(benchmark::State& state, std::vector<Frame> (*make)()) { BM_FlashFrames<NewAnalyser>(state, make); }

BENCHMARK_CAPTURE(BM_FlashFramesFormer, still, stillFrames)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FlashFramesNew, still, stillFrames)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FlashFramesFormer, jitter, jitterFrames)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FlashFramesNew, jitter, jitterFrames)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FlashFramesFormer, noise, noiseFrames)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FlashFramesNew, noise, noiseFrames)->Unit(benchmark::kMicrosecond);

}  // namespace
