#include "app/sdl_music.h"

#include <cstdio>
#include <string>

SdlMusic::SdlMusic() = default;

SdlMusic::~SdlMusic() {
    stop();
    if (audioReady) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlMusic::stop() {
    if (device) SDL_CloseAudioDevice(device);
    device = 0;
}

void SdlMusic::warn(const char* what, const char* why) {
    if (failed) return;
    failed = true;
    std::fprintf(stderr, "vokdemo: %s (%s); the show goes on in silence\n", what, why);
}

void SdlMusic::initialise() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        warn("no sound output", SDL_GetError());
        return;
    }
    audioReady = true;
}

void SdlMusic::load(const char* name) {
    if (failed) return;
    std::string error;
    if (!stream.loadFile(name, error)) warn("the music cannot be played", error.c_str());
}

void SdlMusic::play(double startSeconds) {
    if (failed || !stream.loaded()) return;
    if (startSeconds > 0) stream.seek(startSeconds);
    SDL_AudioSpec wanted{};
    wanted.freq = ModuleStream::rate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024;
    wanted.callback = fill;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts from 44080 Hz stereo to what the device takes.
    device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device == 0) {
        warn("no sound device", SDL_GetError());
        return;
    }
    SDL_PauseAudioDevice(device, 0);
}

// Runs on SDL's audio thread. The stream is touched only here once the
// device is open. After the module's end the buffer is silence.
void SdlMusic::fill(void* self, Uint8* out, int length) {
    const size_t frames = static_cast<size_t>(length) / (2 * sizeof(int16_t));
    static_cast<SdlMusic*>(self)->stream.render(reinterpret_cast<int16_t*>(out), frames);
}
