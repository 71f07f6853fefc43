#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

namespace openmpt {
class module;
}

// The show's music rendered offline by libopenmpt at a fixed rate, from the
// show's time zero on. Past the module's end, and for a module that is
// missing or does not load, it yields silence, so a track of any length
// can be filled.
class MusicSource {
public:
    static constexpr int sampleRate = 44100;
    static constexpr const char* fileName = "zumber.xm";

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
    std::ostringstream log_;  // libopenmpt's messages, kept off the terminal
    std::unique_ptr<openmpt::module> module_;
    std::string problem_;
};
