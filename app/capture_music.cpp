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

}  // namespace

MusicSource::MusicSource() {
    std::vector<std::uint8_t> bytes;
    if (!readWholeFile(fileName, bytes)) {
        problem_ = std::string("missing music ") + platform::dataPath(fileName);
        ended_ = true;
        return;
    }
    try {
        module_ = std::make_unique<openmpt::module>(bytes, log_);
        module_->set_repeat_count(0);
        module_->ctl_set_integer("dither", 0);
    } catch (const openmpt::exception& e) {
        module_.reset();
        ended_ = true;
        problem_ = std::string("cannot load music ") + platform::dataPath(fileName) + ": " + e.what();
    }
}

MusicSource::~MusicSource() = default;

size_t MusicSource::readBlock(float* out) {
    return module_->read_interleaved_stereo(sampleRate, blockFrames, out);
}

size_t MusicSource::readBlock(int16_t* out) {
    return module_->read_interleaved_stereo(sampleRate, blockFrames, out);
}

template <typename Sample>
void MusicSource::serve(Block<Sample>& block, Sample* out, size_t frames) {
    while (frames > 0) {
        if (block.used == block.filled) {
            block.used = 0;
            block.filled = ended_ ? 0 : readBlock(block.samples.data());
            if (block.filled == 0) {
                ended_ = true;  // the module's end: silence from here on
                std::fill(block.samples.begin(), block.samples.end(), Sample(0));
                block.filled = blockFrames;
            }
        }
        size_t n = std::min(frames, block.filled - block.used);
        std::copy_n(block.samples.data() + 2 * block.used, 2 * n, out);
        block.used += n;
        out += 2 * n;
        frames -= n;
    }
}

void MusicSource::render(float* interleaved, size_t frames) { serve(floatBlock_, interleaved, frames); }

void MusicSource::render(int16_t* interleaved, size_t frames) { serve(intBlock_, interleaved, frames); }
