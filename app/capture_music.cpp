#include "app/capture_music.h"

#include <algorithm>
#include <cstdio>
#include <libopenmpt/libopenmpt.hpp>
#include <vector>

#include "platform/platform.h"

namespace {

bool readWholeFile(const char* name, std::vector<std::uint8_t>& bytes) {
    FILE* file = platform::openDataFile(name, "rb");
    if (!file) return false;
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

// Renders with `read` until `frames` are done; what the module no longer
// gives is silence.
template <typename Sample, typename Read>
void renderPadded(Sample* out, size_t frames, bool playing, Read read) {
    size_t done = 0;
    while (playing && done < frames) {
        size_t got = read(frames - done, out + 2 * done);
        if (got == 0) break;
        done += got;
    }
    std::fill(out + 2 * done, out + 2 * frames, Sample(0));
}

}  // namespace

MusicSource::MusicSource() {
    std::vector<std::uint8_t> bytes;
    if (!readWholeFile(fileName, bytes)) {
        problem_ = std::string("missing music ") + platform::dataPath(fileName);
        return;
    }
    try {
        module_ = std::make_unique<openmpt::module>(bytes, log_);
        module_->set_repeat_count(0);
    } catch (const openmpt::exception& e) {
        module_.reset();
        problem_ = std::string("cannot load music ") + platform::dataPath(fileName) + ": " + e.what();
    }
}

MusicSource::~MusicSource() = default;

void MusicSource::render(float* interleaved, size_t frames) {
    renderPadded(interleaved, frames, module_ != nullptr, [this](size_t count, float* out) {
        return module_->read_interleaved_stereo(sampleRate, count, out);
    });
}

void MusicSource::render(int16_t* interleaved, size_t frames) {
    renderPadded(interleaved, frames, module_ != nullptr, [this](size_t count, int16_t* out) {
        return module_->read_interleaved_stereo(sampleRate, count, out);
    });
}
