// One frame of every scene of the show (the memcpy to compare with is in the
// foundation benchmarks of the same program).
// Runs over the generated data set; skips when it has not been built.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "demo/demo.h"
#include "demo/scenes.h"
#include "shell/show_run.h"
#include "wire3d/math3d.h"

namespace {

// Milliseconds of show time a second after the scene's start (every scene
// lasts more than two seconds).
uint32_t sceneSample(int scene) {
    const double start = scene == 0 ? 0.0 : sceneTable[scene - 1].end;
    return static_cast<uint32_t>(start * 1000.0) + 1000;
}

bool dataSetPresent() {
    FILE* file = DataFolder(VOK_DATA_DIR).open(dataFiles[firstOf(DataKind::Mesh)].name, "rb");
    if (file) std::fclose(file);
    return file != nullptr;
}

void BM_Scene(benchmark::State& state) {
    if (!dataSetPresent()) {
        state.SkipWithError("the data set has not been generated");
        return;
    }
    MessageLog messages;  // the mesh loader's text is kept out of the benchmark's output
    headless::VirtualClock clock;
    headless::ShowRun run(clock, ShowContext(messages, DataFolder(VOK_DATA_DIR)));
    const uint32_t first = sceneSample(static_cast<int>(state.range(0)));
    run.stepAfter(first);  // the scene's first frame creates its effect object
    uint32_t step = 0;
    for (auto _ : state) {
        // Stays within the scene's first second, however many iterations run.
        clock.set(first + 1 + (step++ % 1000));
        run.stepAfter(0);
        benchmark::DoNotOptimize(run.image().pixels);
    }
}
BENCHMARK(BM_Scene)->DenseRange(0, sceneCount - 1)->Unit(benchmark::kMicrosecond);

}  // namespace
