#include "app/sdl/sdl_music.h"

#include <cstdio>
#include <cstring>
#include <libopenmpt/libopenmpt.hpp>
#include <vector>

#include "app/music/openmpt_module.h"

SdlMusic::SdlMusic() = default;

SdlMusic::~SdlMusic() {
    stop();
    if (audioReady) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlMusic::stop() {
    if (device) SDL_CloseAudioDevice(device);
    device = 0;
}

void SdlMusic::warn(const std::string& problem) {
    if (failed) return;
    failed = true;
    std::fprintf(stderr, "vokdemo: %s; the show goes on in silence\n", problem.c_str());
}

void SdlMusic::initialise() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        warn(std::string("no sound output: ") + SDL_GetError());
        return;
    }
    audioReady = true;
}

void SdlMusic::load(const char* name) {
    if (failed) return;
    std::string problem;
    module = loadModule(name, libraryLog, problem);
    if (!module) warn(problem);
}

void SdlMusic::play(double startSeconds) {
    if (failed || !module) return;
    if (startSeconds > 0) module->set_position_seconds(startSeconds);
    SDL_AudioSpec wanted{};
    wanted.freq = renderRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024;
    wanted.callback = fill;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts from 44080 Hz stereo to what the device takes.
    device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device == 0) {
        warn(std::string("no sound device: ") + SDL_GetError());
        return;
    }
    SDL_PauseAudioDevice(device, 0);
}

// Runs on SDL's audio thread. The module is touched only here once the
// device is open. After the module's end the buffer is silence.
void SdlMusic::fill(void* self, Uint8* stream, int length) {
    SdlMusic& music = *static_cast<SdlMusic*>(self);
    const size_t frames = static_cast<size_t>(length) / (2 * sizeof(int16_t));
    int16_t* out = reinterpret_cast<int16_t*>(stream);
    size_t done = 0;
    while (done < frames) {
        const size_t got = music.module->read_interleaved_stereo(renderRate, frames - done, out + 2 * done);
        if (got == 0) break;
        done += got;
    }
    std::memset(out + 2 * done, 0, (frames - done) * 2 * sizeof(int16_t));
}
