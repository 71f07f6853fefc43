// One frame of every scene of the show (the memcpy to compare with is in the
// foundation benchmarks of the same program).
// Runs over the generated data set; skips when it has not been built.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "demo/demo.h"
#include "demo/scenes.h"
#include "platform/platform.h"
#include "wire3d/math3d.h"

namespace {

uint32_t benchTicks = 0;
uint32_t readBenchTicks() { return benchTicks; }

// Milliseconds of show time a second after the scene's start (every scene
// lasts more than two seconds).
uint32_t sceneSample(int scene) {
    const double start = scene == 0 ? 0.0 : sceneTable[scene - 1].end;
    return static_cast<uint32_t>(start * 1000.0) + 1000;
}

bool dataSetPresent() {
    platform::setDataDirectory(VOK_DATA_DIR);
    FILE* file = platform::openDataFile(dataFiles[firstOf(DataKind::Mesh)].name, "rb");
    if (file) std::fclose(file);
    return file != nullptr;
}

// Makes a Demo whose mesh loader text is kept out of the benchmark's output.
Demo* makeQuietDemo() {
    static MessageLog messages;
    return new Demo(messages);
}

void BM_Scene(benchmark::State& state) {
    if (!dataSetPresent()) {
        state.SkipWithError("the data set has not been generated");
        return;
    }
    platform::setTickCounter(readBenchTicks);
    benchTicks = 0;
    Demo* demo = makeQuietDemo();
    fillAngleTables();
    const uint32_t first = sceneSample(static_cast<int>(state.range(0)));
    uint32_t step = 0;
    benchTicks = first;
    demo->clock->tick();
    demo->renderFrame();  // the scene's first frame creates its effect object
    for (auto _ : state) {
        // Stays within the scene's first second, however many iterations run.
        benchTicks = first + 1 + (step++ % 1000);
        demo->clock->tick();
        demo->renderFrame();
        benchmark::DoNotOptimize(demo->workImage->pixels);
    }
    delete demo;
    platform::setTickCounter(nullptr);
}
BENCHMARK(BM_Scene)->DenseRange(0, sceneCount - 1)->Unit(benchmark::kMicrosecond);

}  // namespace
