#include "app/music/module_stream.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <libopenmpt/libopenmpt.hpp>

#include "app/music/openmpt_module.h"

ModuleStream::ModuleStream() = default;
ModuleStream::~ModuleStream() = default;

bool ModuleStream::load(const char* fileName, std::string& problem) {
    module = loadModule(fileName, libraryLog, problem);
    if (module) module->ctl_set_integer("dither", 0);
    return module != nullptr;
}

void ModuleStream::seek(double seconds) {
    if (module) seekModule(*module, seconds);
}

int64_t seekModule(openmpt::module& module, double seconds) {
    const int64_t target = std::llround(std::max(seconds, 0.0) * ModuleStream::rate);
    const double landed = module.set_position_seconds(static_cast<double>(target) / ModuleStream::rate);
    int64_t frame = std::llround(landed * ModuleStream::rate);
    int16_t scratch[2 * 1024];
    while (frame < target) {
        const size_t want = static_cast<size_t>(std::min<int64_t>(target - frame, 1024));
        const size_t got = module.read_interleaved_stereo(ModuleStream::rate, want, scratch);
        if (got == 0) break;
        frame += static_cast<int64_t>(got);
    }
    return frame;
}

size_t ModuleStream::render(int16_t* out, size_t frames) {
    size_t done = 0;
    while (module && done < frames) {
        const size_t got = module->read_interleaved_stereo(rate, frames - done, out + 2 * done);
        if (got == 0) break;
        done += got;
    }
    std::memset(out + 2 * done, 0, (frames - done) * 2 * sizeof(int16_t));
    return done;
}
