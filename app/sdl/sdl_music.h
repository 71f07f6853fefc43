#pragma once
#include <SDL.h>

#include <cstdint>
#include <string>

#include "media/module_stream.h"

// The show's music: the module rendered by a ModuleStream and played from an
// SDL audio callback, at the stream's rate (SDL converts to the device's). The three steps follow start-up: initialise
// the output, load the module, play it. Any failure leaves the show silent,
// with unchanged timing, after one warning line on standard error.
class SdlMusic {
public:
    SdlMusic();
    ~SdlMusic();
    SdlMusic(const SdlMusic&) = delete;
    SdlMusic& operator=(const SdlMusic&) = delete;

    void initialise();                    // the audio subsystem
    void load(const std::string& path);  // the module file
    void play(double startSeconds = 0.0); // opens the device and starts at once

    // Stops the audio thread before the process ends, so that it cannot run
    // into the library while the process takes its static objects down.
    void stop();

    bool isPlaying() const { return device != 0; }

    // The music the listener hears, in milliseconds since play() started the
    // device, or -1 when no sound plays. It is the frames handed to the
    // device less the buffer SDL still plays from, advanced by the time since
    // that buffer was handed over (at most the buffer's length), so it moves
    // smoothly at the sound card's pace, whatever the wall clock does.
    double heardMs();

    // Where in the music the listener is, in milliseconds from the module's
    // start (the silence after its end counts on), or -1 without sound.
    double heardMusicMs();

    // Pause: the device stops asking for sound. playFrom: the music the
    // listener hears from the end of what SDL still plays is the module at
    // `seconds` plus that much, so the show time `seconds` now and the music
    // agree from there on; a paused device plays again.
    void pause();
    void playFrom(double seconds);

private:
    static void fill(void* self, Uint8* stream, int length);
    void warn(const std::string& problem);

    bool failed = false;  // a warning was given; stay silent without another
    bool audioReady = false;
    ModuleStream stream;
    SDL_AudioDeviceID device = 0;
    // Written by the audio callback, read under the device's lock.
    int64_t handedFrames = 0;
    Uint64 handedAt = 0;  // performance counter when the last buffer was handed over
    int bufferFrames = 0;
    int64_t moduleFrames = 0;  // the module's frame at the end of what was handed over

    double sinceHandedMs() const;  // under the device's lock
};
