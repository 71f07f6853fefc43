#pragma once
#include <SDL.h>

#include "app/module_stream.h"

// The show's music: one tracker module rendered by ModuleStream and played
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

private:
    static void fill(void* self, Uint8* stream, int length);
    void warn(const char* what, const char* why);

    bool failed = false;  // a warning was given; stay silent without another
    bool audioReady = false;
    ModuleStream stream;
    SDL_AudioDeviceID device = 0;
};
