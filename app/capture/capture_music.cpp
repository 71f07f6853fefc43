#include "app/capture/capture_music.h"

#include <algorithm>
#include <cstdio>
#include <libopenmpt/libopenmpt.hpp>
#include <vector>

#include "app/music/openmpt_module.h"

MusicSource::MusicSource() {
    module_ = loadModule(fileName, log_, problem_);
    if (module_) {
        module_->ctl_set_integer("dither", 0);
    } else {
        ended_ = true;
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
