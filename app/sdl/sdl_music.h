#pragma once
#include <SDL.h>

#include <memory>
#include <sstream>
#include <string>

namespace openmpt {
class module;
}

// The show's music: one tracker module rendered by libopenmpt and played
// from an SDL audio callback. The three steps follow start-up: initialise
// the output, load the module, play it. Any failure leaves the show silent,
// with unchanged timing, after one warning line on standard error.
class SdlMusic {
public:
    SdlMusic();
    ~SdlMusic();
    SdlMusic(const SdlMusic&) = delete;
    SdlMusic& operator=(const SdlMusic&) = delete;

    void initialise();                    // the audio subsystem
    void load(const char* name);          // from the data directory
    void play(double startSeconds = 0.0); // opens the device and starts at once

    // Stops the audio thread before the process ends, so that it cannot run
    // into the library while the process takes its static objects down.
    void stop();

    bool isPlaying() const { return device != 0; }

    // The module is rendered at this rate: 950 samples a tick at 116 BPM is
    // then exactly the module's tick, where 44100 Hz would round each tick
    // down and run the music 45 ms early by the end. SDL resamples to the
    // device's own rate.
    static constexpr int renderRate = 44080;

private:
    static void fill(void* self, Uint8* stream, int length);
    void warn(const std::string& problem);

    bool failed = false;  // a warning was given; stay silent without another
    bool audioReady = false;
    std::ostringstream libraryLog;  // libopenmpt's own messages, kept out of std::clog
    std::unique_ptr<openmpt::module> module;
    SDL_AudioDeviceID device = 0;
};
