// Renders the show's music the way the live player plays it (the module
// loaded as the player loads it, libopenmpt's default settings, 16-bit stereo
// at the player's rate) and writes the samples to standard output as raw
// little-endian PCM. The browser build encodes them and plays them instead of
// running a module player.
#include <libopenmpt/libopenmpt.hpp>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "app/music/openmpt_module.h"
#include "app/sdl/sdl_music.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: vokwebmusic MODULE > music.raw\n", stderr);
        return 2;
    }
    std::ostringstream log;  // libopenmpt's messages stay off the terminal
    std::string problem;
    auto module = loadModule(argv[1], log, problem);
    if (!module) {
        std::fprintf(stderr, "vokwebmusic: %s\n", problem.c_str());
        return 1;
    }
    std::vector<int16_t> samples(2 * 4096);
    for (;;) {
        const size_t frames = module->read_interleaved_stereo(SdlMusic::renderRate, 4096, samples.data());
        if (frames == 0) break;
        if (std::fwrite(samples.data(), 4, frames, stdout) != frames) {
            std::perror("vokwebmusic: standard output");
            return 1;
        }
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
