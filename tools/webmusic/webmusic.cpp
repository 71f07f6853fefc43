// Renders the show's music the way the live player plays it (libopenmpt with
// its default settings, played once, 16-bit stereo at the player's rate) and
// writes the samples to standard output as raw little-endian PCM. The browser
// build encodes them and plays them instead of running a module player.
#include <cstdio>
#include <exception>
#include <libopenmpt/libopenmpt.hpp>
#include <sstream>
#include <vector>

#include "app/sdl_music.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: vokwebmusic MODULE > music.raw\n", stderr);
        return 2;
    }
    std::FILE* file = std::fopen(argv[1], "rb");
    if (!file) {
        std::perror(argv[1]);
        return 1;
    }
    std::vector<char> bytes;
    char block[65536];
    for (size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;) bytes.insert(bytes.end(), block, block + got);
    std::fclose(file);

    try {
        std::ostringstream log;  // libopenmpt's messages stay off the terminal
        openmpt::module module(bytes, log);
        module.set_repeat_count(0);
        std::vector<int16_t> samples(2 * 4096);
        for (;;) {
            const size_t frames = module.read_interleaved_stereo(SdlMusic::renderRate, 4096, samples.data());
            if (frames == 0) break;
            if (std::fwrite(samples.data(), 4, frames, stdout) != frames) {
                std::perror("vokwebmusic: standard output");
                return 1;
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vokwebmusic: %s: %s\n", argv[1], error.what());
        return 1;
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
