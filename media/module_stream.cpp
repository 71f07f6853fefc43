#include "media/module_stream.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <libopenmpt/libopenmpt.hpp>

#include "media/openmpt_module.h"

namespace {

template <typename Sample>
size_t renderInto(openmpt::module* module, Sample* out, size_t frames) {
    size_t done = 0;
    while (module && done < frames) {
        const size_t got = module->read_interleaved_stereo(ModuleStream::rate, frames - done, out + 2 * done);
        if (got == 0) break;
        done += got;
    }
    std::fill(out + 2 * done, out + 2 * frames, Sample(0));
    return done;
}

}  // namespace

ModuleStream::ModuleStream() = default;
ModuleStream::~ModuleStream() = default;

bool ModuleStream::load(const std::string& path, std::string& problem) {
    module = loadModule(path, libraryLog, problem);
    if (module) module->ctl_set_integer("dither", 0);
    return module != nullptr;
}

void ModuleStream::seek(double seconds) {
    if (module) seekModule(*module, seconds);
}

int64_t seekModule(openmpt::module& module, double seconds) {
    const int64_t target = std::llround(std::max(seconds, 0.0) * ModuleStream::rate);
    int16_t scratch[2 * 1024];
    // The library times its rows at the rate it last rendered at (44,100 Hz
    // before the first render, where a tick comes out shorter): reading no
    // frames sets ours first.
    module.read_interleaved_stereo(ModuleStream::rate, 0, scratch);
    // Samples already sounding go on from where they would be, not from their start.
    module.ctl_set_boolean("seek.sync_samples", true);
    // The library lands on the first row that starts at or after the time
    // asked for: asked a little earlier until it lands at or before it.
    double asked = static_cast<double>(target) / ModuleStream::rate;
    int64_t frame = std::llround(module.set_position_seconds(asked) * ModuleStream::rate);
    while (frame > target && asked > 0) {
        asked = std::max(asked - 0.25, 0.0);
        frame = std::llround(module.set_position_seconds(asked) * ModuleStream::rate);
    }
    while (frame < target) {
        const size_t want = static_cast<size_t>(std::min<int64_t>(target - frame, 1024));
        const size_t got = module.read_interleaved_stereo(ModuleStream::rate, want, scratch);
        if (got == 0) break;
        frame += static_cast<int64_t>(got);
    }
    return frame;
}

size_t ModuleStream::render(int16_t* out, size_t frames) { return renderInto(module.get(), out, frames); }

size_t ModuleStream::render(float* out, size_t frames) { return renderInto(module.get(), out, frames); }
