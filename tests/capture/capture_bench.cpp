// The whole show captured with the defaults (60 fps, scale 2: 640x480, H.264
// and AAC in MP4), timed as the program runs it. Target: 3x real time or
// faster on a two-core machine, that is under 33 s.
#include <benchmark/benchmark.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "support/test_files.h"

static void WholeShowCaptureAtTheDefaults(benchmark::State& state) {
    TempDir dir;
    const std::string command = std::string(VOK_DEMO_BINARY) + " --data " VOK_DATA_DIR " --capture " +
                                dir.file("show.mp4") + " >/dev/null 2>&1";
    for (auto _ : state) {
        int status = std::system(command.c_str());
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("the capture failed");
    }
    state.counters["x_real_time"] = benchmark::Counter(99.3167 * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(WholeShowCaptureAtTheDefaults)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

BENCHMARK_MAIN();
