#include "app/capture/capture_music.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cmath>
#include <vector>

MusicSource::MusicSource(const std::string& modulePath, int rate) : rate_(rate) {
    if (!stream_.load(modulePath, problem_)) {
        ended_ = true;
        return;
    }
    if (!startResampler()) {
        ended_ = true;
        problem_ = "cannot resample the music";
        return;
    }
    loaded_ = true;
}

MusicSource::~MusicSource() { swr_free(&resampler_); }

bool MusicSource::startResampler() {
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    if (swr_alloc_set_opts2(&resampler_, &stereo, AV_SAMPLE_FMT_FLT, rate_, &stereo, AV_SAMPLE_FMT_FLT,
                            ModuleStream::rate, 0, nullptr) < 0)
        return false;
    av_opt_set_int(resampler_, "dither_method", 0, 0);  // none: the same samples in every run
    return swr_init(resampler_) >= 0;
}

void MusicSource::refill() {
    if (readyUsed_ == ready_.size()) {
        ready_.clear();
        readyUsed_ = 0;
    }
    const uint8_t* in[1] = {nullptr};
    int inFrames = 0;
    if (!drained_) {
        inFrames = static_cast<int>(stream_.render(rendered_.data(), blockFrames));
        in[0] = reinterpret_cast<const uint8_t*>(rendered_.data());
    }
    // No input drains what the resampler still holds: the module's last samples.
    if (inFrames == 0) drained_ = true;
    const int room = swr_get_out_samples(resampler_, inFrames);
    const size_t start = ready_.size();
    ready_.resize(start + 2 * static_cast<size_t>(std::max(room, 0)));
    uint8_t* out[1] = {reinterpret_cast<uint8_t*>(ready_.data() + start)};
    const int got = swr_convert(resampler_, out, room, inFrames > 0 ? in : nullptr, inFrames);
    ready_.resize(start + 2 * static_cast<size_t>(std::max(got, 0)));
    if (inFrames == 0 && got <= 0) ended_ = true;
}

void MusicSource::render(float* interleaved, size_t frames) {
    size_t wanted = 2 * frames;
    while (wanted > 0) {
        if (readyUsed_ == ready_.size()) {
            if (ended_) {
                std::fill_n(interleaved, wanted, 0.0f);
                return;
            }
            refill();
            continue;
        }
        const size_t n = std::min(wanted, ready_.size() - readyUsed_);
        std::copy_n(ready_.data() + readyUsed_, n, interleaved);
        readyUsed_ += n;
        interleaved += n;
        wanted -= n;
    }
}

void MusicSource::render(int16_t* interleaved, size_t frames) {
    convert_.resize(2 * frames);
    render(convert_.data(), frames);
    for (size_t i = 0; i < convert_.size(); ++i) {
        const float scaled = std::nearbyint(convert_[i] * 32768.0f);
        interleaved[i] = static_cast<int16_t>(std::min(32767.0f, std::max(-32768.0f, scaled)));
    }
}
