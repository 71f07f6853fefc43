#include "app/music/module_stream.h"

#include <algorithm>
#include <libopenmpt/libopenmpt.hpp>

#include "app/music/openmpt_module.h"

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

bool ModuleStream::load(const char* fileName, std::string& problem) {
    module = loadModule(fileName, libraryLog, problem);
    if (module) module->ctl_set_integer("dither", 0);
    return module != nullptr;
}

void ModuleStream::seek(double seconds) {
    if (module) module->set_position_seconds(seconds);
}

size_t ModuleStream::render(int16_t* out, size_t frames) { return renderInto(module.get(), out, frames); }

size_t ModuleStream::render(float* out, size_t frames) { return renderInto(module.get(), out, frames); }
