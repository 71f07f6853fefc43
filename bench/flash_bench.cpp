// The flash analyser, frame by frame: a still picture (the cheapest: no
// pixel changes), a picture jittering by 0 to 7 pixels every frame like the
// credits overlay (most pixels change, many flash), and noise (every pixel
// changes every frame). A show of 99.3 s at 60 fps is 5,959 frames.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "flash/flash_analyser.h"

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

void run(benchmark::State& state, const std::vector<Frame>& frames) {
    flash::FlashAnalyser analyser(60);
    size_t k = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(analyser.addFrame(frames[k].data()));
        k = (k + 1) % frames.size();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_FlashStill(benchmark::State& state) { run(state, {pattern(0, 0)}); }

void BM_FlashJitter(benchmark::State& state) {
    std::vector<Frame> frames;
    uint32_t seed = 123;
    for (int i = 0; i < 64; ++i) {
        const int dy = static_cast<int>(nextRandom(seed) % 8);
        frames.push_back(pattern(static_cast<int>(nextRandom(seed) % 8), dy));
    }
    run(state, frames);
}

void BM_FlashNoise(benchmark::State& state) {
    std::vector<Frame> frames(64, Frame(flash::frameBytes));
    uint32_t seed = 7;
    for (Frame& frame : frames)
        for (uint8_t& byte : frame) byte = static_cast<uint8_t>(nextRandom(seed));
    run(state, frames);
}

BENCHMARK(BM_FlashStill)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FlashJitter)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FlashNoise)->Unit(benchmark::kMicrosecond);

}  // namespace
