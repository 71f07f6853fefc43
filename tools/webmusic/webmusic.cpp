// Renders the show's music the way the live player plays it (the player's
// ModuleStream: the module loaded as the player loads it, 16-bit stereo at
// the stream's rate) and writes the samples to standard output as raw
// little-endian PCM. The browser build encodes them and plays them instead of
// running a module player. `vokwebmusic --rate` prints the rate.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "media/module_stream.h"

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--rate") == 0) {
        std::printf("%d\n", ModuleStream::rate);
        return 0;
    }
    if (argc != 2) {
        std::fputs("usage: vokwebmusic MODULE > music.raw, or vokwebmusic --rate\n", stderr);
        return 2;
    }
    ModuleStream stream;
    std::string problem;
    if (!stream.load(argv[1], problem)) {
        std::fprintf(stderr, "vokwebmusic: %s\n", problem.c_str());
        return 1;
    }
    std::vector<int16_t> samples(2 * 4096);
    for (;;) {
        const size_t frames = stream.render(samples.data(), 4096);
        if (frames == 0) break;
        if (std::fwrite(samples.data(), 4, frames, stdout) != frames) {
            std::perror("vokwebmusic: standard output");
            return 1;
        }
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
