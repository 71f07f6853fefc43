// One frame of each picture effect on 320x240 images, beside a memcpy of one
// 320x240 image (307,200 bytes).
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

#include "demo/data_files.h"
#include "effects/channel_drift.h"
#include "effects/fader.h"
#include "effects/lens.h"
#include "effects/masked_cross_fade.h"
#include "effects/wave_warp.h"
#include "image/image.h"
#include "demo/scenes.h"
#include "wire3d/math3d.h"

namespace {

void fillRandom(Image& image, uint32_t seed) {
    std::mt19937 random(seed);
    for (int32_t i = 0; i < 4 * image.count(); ++i) image.pixels[i] = static_cast<uint8_t>(random());
}

// The memcpy of one image to compare with is BM_FoundationMemcpy, in the same program.

void BM_FaderUpdate(benchmark::State& state) {
    Image source, target;
    fillRandom(source, 2);
    Fader fader(target, source, 0.0f, 5.5f);
    float t = 0.0f;
    for (auto _ : state) {
        fader.update(t);
        t = t < 5.5f ? t + 0.0167f : 0.0f;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FaderUpdate);

void BM_WaveWarp(benchmark::State& state) {
    fillAngleTables();
    Image source, target;
    fillRandom(source, 3);
    float seconds = 8.3f, amplitude = 0.0f;
    for (auto _ : state) {
        waveWarp(target, source, seconds, amplitude);
        seconds += 0.0167f;
        amplitude = amplitude < 124.0f ? amplitude + 0.25f : 0.0f;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_WaveWarp);

// The effects that load their own pictures take their scene's files from the
// data set when it has been generated; the pictures are then filled with
// noise either way.
const char* sceneFile(const char* scene, int k) { return sceneTable[sceneNamed(scene)].files[k]; }

void BM_MaskedCrossFade(benchmark::State& state) {
    MessageLog messages;
    MaskedCrossFade fade(sceneFile("masked cross-fade", 0), sceneFile("masked cross-fade", 1),
                         sceneFile("masked cross-fade", 2), ShowContext(messages, DataFolder(VOK_DATA_DIR)));
    fillRandom(*fade.first, 4);
    fillRandom(*fade.second, 5);
    fillRandom(*fade.mask, 6);
    Image target;
    for (auto _ : state) {
        fade.render(target);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MaskedCrossFade);

void BM_ChannelDrift(benchmark::State& state) {
    MessageLog messages;
    Random prng;
    ChannelDrift drift(sceneFile("channel drift", 0), sceneFile("channel drift", 1), prng,
                       ShowContext(messages, DataFolder(VOK_DATA_DIR)));
    fillRandom(*drift.picture, 7);
    Image target;
    for (auto _ : state) {
        drift.render(target);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ChannelDrift);

void BM_LensApply(benchmark::State& state) {
    Image source, target;
    fillRandom(source, 8);
    Lens lens;
    int frame = 0;
    for (auto _ : state) {
        lens.apply(target, source, 46 + frame % 129, 24 + frame % 33);  // the show's range of corners
        ++frame;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_LensApply);

}  // namespace
