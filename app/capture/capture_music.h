#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "media/module_stream.h"

struct SwrContext;

// The show's music for the capture, from the show's time zero on, at the
// output rate: the ModuleStream's render, converted by libswresample in one
// pass from the stream's rate to the output rate (44,100 Hz unless asked). Past the module's end, and for a module that is
// missing or does not load, it yields silence, so a track of any length can
// be filled. The stream and the resampler always get blocks of the same size
// and nothing dithers, so the samples are the same in every run, whatever the
// sizes asked of render().
class MusicSource {
public:
    static constexpr int defaultRate = 44100;
    static constexpr size_t blockFrames = 1024;

    // Loads the module file; render() gives `rate` frames a second.
    explicit MusicSource(const std::string& modulePath, int rate = defaultRate);
    ~MusicSource();
    MusicSource(const MusicSource&) = delete;
    MusicSource& operator=(const MusicSource&) = delete;

    int rate() const { return rate_; }
    bool loaded() const { return loaded_; }
    const std::string& problem() const { return problem_; }  // why it did not load

    // The next `frames` stereo frames, interleaved left and right; 16-bit
    // samples are the float samples rounded, clipped at full scale.
    void render(float* interleaved, size_t frames);
    void render(int16_t* interleaved, size_t frames);

private:
    bool startResampler();
    void refill();  // one block rendered and resampled, or the resampler's tail

    int rate_;
    bool drained_ = false;  // the module has ended: the resampler gets no more input
    bool ended_ = false;    // everything from here on is silence
    std::vector<float> rendered_ = std::vector<float>(2 * blockFrames);
    std::vector<float> ready_;  // resampled, not yet handed out
    size_t readyUsed_ = 0;      // in samples
    std::vector<float> convert_;
    ModuleStream stream_;
    bool loaded_ = false;
    SwrContext* resampler_ = nullptr;
    std::string problem_;
};
