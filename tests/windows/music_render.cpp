// Renders the start of "zumber.xm" (working directory) through ModuleStream,
// the built-in player's renderer, as raw 16-bit little-endian stereo at its
// rate. Built for Windows against the cross-built library and for Linux
// against the system's, so the suite can compare the two renderings.
//
//   music_render SECONDS OUT.raw              writes the samples
//   music_render SECONDS --compare OTHER.raw  compares with another rendering:
//       exit 0 when every sample is within 1 of it and the music is not silent
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "media/module_stream.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: music_render SECONDS OUT.raw | SECONDS --compare OTHER.raw\n");
    return 2;
}

std::vector<int16_t> readSamples(const char* path) {
    std::vector<int16_t> samples;
    if (FILE* file = std::fopen(path, "rb")) {
        unsigned char pair[2];
        while (std::fread(pair, 1, 2, file) == 2) samples.push_back(static_cast<int16_t>(pair[0] | pair[1] << 8));
        std::fclose(file);
    }
    return samples;
}

bool writeSamples(const char* path, const std::vector<int16_t>& samples) {
    FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    for (int16_t sample : samples) {
        const unsigned char pair[2] = {static_cast<unsigned char>(sample & 0xFF),
                                       static_cast<unsigned char>((sample >> 8) & 0xFF)};
        std::fwrite(pair, 1, 2, file);
    }
    return std::fclose(file) == 0;
}

int compare(const std::vector<int16_t>& ours, const char* otherPath) {
    const std::vector<int16_t> other = readSamples(otherPath);
    if (other.size() != ours.size()) {
        std::printf("lengths differ: %zu samples here, %zu in %s\n", ours.size(), other.size(), otherPath);
        return 1;
    }
    int largest = 0, peak = 0;
    size_t differing = 0;
    for (size_t i = 0; i < ours.size(); ++i) {
        const int difference = std::abs(ours[i] - other[i]);
        if (difference > largest) largest = difference;
        if (difference != 0) ++differing;
        if (std::abs(ours[i]) > peak) peak = std::abs(ours[i]);
    }
    std::printf("%zu samples, %zu differ, largest difference %d, peak %d\n", ours.size(), differing, largest, peak);
    return largest <= 1 && peak >= 1000 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && !(argc == 4 && std::string(argv[2]) == "--compare")) return usage();
    const double seconds = std::atof(argv[1]);
    if (seconds <= 0) return usage();

    ModuleStream stream;
    std::string error;
    if (!stream.load("zumber.xm", error)) {
        std::fprintf(stderr, "music_render: %s\n", error.c_str());
        return 1;
    }
    const size_t frames = static_cast<size_t>(seconds * ModuleStream::rate);
    std::vector<int16_t> samples(2 * frames);
    stream.render(samples.data(), frames);

    if (argc == 4) return compare(samples, argv[3]);
    if (!writeSamples(argv[2], samples)) {
        std::fprintf(stderr, "music_render: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
