#include "app/module_stream.h"

#include <cstring>
#include <cstdio>
#include <libopenmpt/libopenmpt.hpp>

#include "platform/platform.h"

ModuleStream::ModuleStream() = default;
ModuleStream::~ModuleStream() = default;

bool ModuleStream::load(const std::vector<char>& bytes, std::string& error) {
    try {
        module = std::make_unique<openmpt::module>(bytes, libraryLog);
        module->set_repeat_count(0);
        // No dither: the same samples in every run and on every platform.
        module->ctl_set_integer("dither", 0);
        return true;
    } catch (const std::exception& failure) {
        module.reset();
        error = failure.what();
        return false;
    }
}

bool ModuleStream::loadFile(const char* name, std::string& error) {
    std::vector<char> bytes;
    FILE* file = platform::openDataFile(name, "rb");
    bool read = file != nullptr;
    if (read) {
        char block[65536];
        size_t got = 0;
        while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.insert(bytes.end(), block, block + got);
        read = !std::ferror(file);
        std::fclose(file);
    }
    if (!read) {
        error = "cannot read " + platform::dataPath(name);
        return false;
    }
    return load(bytes, error);
}

void ModuleStream::seek(double seconds) {
    if (module) module->set_position_seconds(seconds);
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
