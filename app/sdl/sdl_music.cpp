#include "app/sdl/sdl_music.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

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

void SdlMusic::load(const std::string& path) {
    if (failed) return;
    std::string problem;
    if (!stream.load(path, problem)) warn(problem);
}

void SdlMusic::play(double startSeconds) {
    if (failed || !stream.loaded()) return;
    if (startSeconds > 0) {
        stream.seek(startSeconds);
        moduleFrames = std::llround(startSeconds * ModuleStream::rate);
    }
    SDL_AudioSpec wanted{};
    wanted.freq = ModuleStream::rate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024;
    wanted.callback = fill;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts from the stream's rate to what the device takes.
    device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device == 0) {
        warn(std::string("no sound device: ") + SDL_GetError());
        return;
    }
    SDL_PauseAudioDevice(device, 0);
}

// How much of the buffer SDL plays from has been heard, in milliseconds.
double SdlMusic::sinceHandedMs() const {
    if (handedFrames == 0) return 0;  // the device has not asked for sound yet
    const double bufferMs = 1000.0 * bufferFrames / ModuleStream::rate;
    const double sinceMs = 1000.0 * static_cast<double>(SDL_GetPerformanceCounter() - handedAt) /
                           static_cast<double>(SDL_GetPerformanceFrequency());
    return std::min(sinceMs, bufferMs);
}

double SdlMusic::heardMs() {
    if (!device) return -1;
    SDL_LockAudioDevice(device);
    const double heard =
        1000.0 * static_cast<double>(handedFrames - bufferFrames) / ModuleStream::rate + sinceHandedMs();
    SDL_UnlockAudioDevice(device);
    return heard;
}

double SdlMusic::heardMusicMs() {
    if (!device) return -1;
    SDL_LockAudioDevice(device);
    const int64_t playing = handedFrames == 0 ? moduleFrames : moduleFrames - bufferFrames;
    const double heard = 1000.0 * static_cast<double>(playing) / ModuleStream::rate + sinceHandedMs();
    SDL_UnlockAudioDevice(device);
    return heard;
}

void SdlMusic::pause() {
    if (device) SDL_PauseAudioDevice(device, 1);
}

void SdlMusic::playFrom(double seconds) {
    if (!device) return;
    SDL_LockAudioDevice(device);
    const double pendingMs =
        handedFrames == 0 ? 0 : 1000.0 * bufferFrames / ModuleStream::rate - sinceHandedMs();
    const double from = seconds + pendingMs / 1000.0;
    stream.seek(from);
    moduleFrames = std::llround(from * ModuleStream::rate);
    SDL_UnlockAudioDevice(device);
    SDL_PauseAudioDevice(device, 0);
}

// Runs on SDL's audio thread. The stream is touched only here once the
// device is open. After the module's end the buffer is silence.
void SdlMusic::fill(void* self, Uint8* buffer, int length) {
    SdlMusic& music = *static_cast<SdlMusic*>(self);
    const size_t frames = static_cast<size_t>(length) / (2 * sizeof(int16_t));
    music.stream.render(reinterpret_cast<int16_t*>(buffer), frames);
    // The silence after the module's end counts too: the device plays on at
    // its own pace until the show ends.
    music.bufferFrames = static_cast<int>(frames);
    music.handedFrames += static_cast<int64_t>(frames);
    music.moduleFrames += static_cast<int64_t>(frames);
    music.handedAt = SDL_GetPerformanceCounter();
}
