#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace openmpt {
class module;
}

// The show's music rendered offline by libopenmpt at a fixed rate, from the
// show's time zero on. Past the module's end, and for a module that is
// missing or does not load, it yields silence, so a track of any length
// can be filled. libopenmpt is always asked for blocks of the same size and
// never dithers, so the samples are the same in every run, whatever the
// sizes asked of render().
class MusicSource {
public:
    static constexpr int sampleRate = 44100;
    static constexpr const char* fileName = "zumber.xm";
    static constexpr size_t blockFrames = 1024;

    MusicSource();  // loads the module from the data directory
    ~MusicSource();
    MusicSource(const MusicSource&) = delete;
    MusicSource& operator=(const MusicSource&) = delete;

    bool loaded() const { return module_ != nullptr; }
    const std::string& problem() const { return problem_; }  // why it did not load

    // The next `frames` stereo frames, interleaved left and right.
    void render(float* interleaved, size_t frames);
    void render(int16_t* interleaved, size_t frames);

private:
    template <typename Sample>
    struct Block {
        std::vector<Sample> samples = std::vector<Sample>(2 * blockFrames);
        size_t used = 0, filled = 0;  // in stereo frames
    };
    template <typename Sample>
    void serve(Block<Sample>& block, Sample* out, size_t frames);
    size_t readBlock(float* out);
    size_t readBlock(int16_t* out);

    Block<float> floatBlock_;
    Block<int16_t> intBlock_;
    bool ended_ = false;
    std::ostringstream log_;  // libopenmpt's messages, kept off the terminal
    std::unique_ptr<openmpt::module> module_;
    std::string problem_;
};
