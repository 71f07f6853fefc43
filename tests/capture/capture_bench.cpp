// The whole show captured at 60 fps and scale 3 (960x720, H.264 and AAC in
// MP4), timed as the program runs it. Target: under 30 s on a two-core machine.
#include <benchmark/benchmark.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "support/test_files.h"

static void WholeShowCapture60FpsScale3(benchmark::State& state) {
    TempDir dir;
    const std::string command = std::string(VOK_DEMO_BINARY) + " --data " VOK_DATA_DIR " --capture " +
                                dir.file("show.mp4") + " >/dev/null 2>&1";
    for (auto _ : state) {
        int status = std::system(command.c_str());
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("the capture failed");
    }
    state.counters["x_real_time"] = benchmark::Counter(99.3167 * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(WholeShowCapture60FpsScale3)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

BENCHMARK_MAIN();
