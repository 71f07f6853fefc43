#include "app/win32/win32_builtin_music.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "media/module_stream.h"
#include "media/rate_converter.h"
#include "app/win32/win32_wave_out.h"

namespace builtin_music {
namespace {

// The module's own rate first, then rates to fall back to, through the
// converter, when the output refuses it.
constexpr int outputRates[] = {ModuleStream::rate, 44100, 48000};

bool silenced = false;  // a warning was given: stay silent without another
std::unique_ptr<ModuleStream> song;
std::unique_ptr<RateConverter> converter;
WaveOut output;
int outputRate = 0;        // the rate the output took; 0 until it took one
double startSeconds = 0;   // where in the music the output started

void warn(const std::string& problem) {
    if (silenced) return;
    silenced = true;
    std::fprintf(stderr, "vokdemo: %s; the show goes on in silence\n", problem.c_str());
    std::fflush(stderr);
}

// The output at `rate`, fed from the module directly or through a converter.
MMRESULT openAt(int rate) {
    ModuleStream* stream = song.get();
    if (rate == ModuleStream::rate) {
        converter.reset();
        return output.start(rate, [stream](int16_t* out, size_t frames) { stream->render(out, frames); });
    }
    converter = std::make_unique<RateConverter>(
        ModuleStream::rate, rate, [stream](int16_t* out, size_t frames) { stream->render(out, frames); });
    RateConverter* convert = converter.get();
    return output.start(rate, [convert](int16_t* out, size_t frames) { convert->convert(out, frames); });
}

// The sound from `seconds` of the module: at the rate the output took
// before, or the first it takes.
void startAt(double seconds) {
    output.stop();
    song->seek(seconds);
    startSeconds = seconds;
    if (outputRate != 0) {
        const MMRESULT result = openAt(outputRate);
        if (result != MMSYSERR_NOERROR) warn("the sound output failed: waveOutOpen error " + std::to_string(result));
        return;
    }
    MMRESULT result = WAVERR_BADFORMAT;
    for (int rate : outputRates) {
        result = openAt(rate);
        if (result != WAVERR_BADFORMAT) {
            if (result == MMSYSERR_NOERROR) outputRate = rate;
            break;
        }
    }
    if (result != MMSYSERR_NOERROR) warn("no sound device: waveOutOpen error " + std::to_string(result));
}

bool playing() { return !silenced && song != nullptr; }

}  // namespace

void init() {
    if (waveOutGetNumDevs() == 0) warn("no sound output: no waveOut device");
}

void* loadSong(const char* fileName) {
    if (silenced) return nullptr;
    auto loaded = std::make_unique<ModuleStream>();
    std::string problem;
    if (!loaded->load(fileName, problem)) {
        warn(problem);
        return nullptr;
    }
    song = std::move(loaded);
    return song.get();
}

void playSong(void* handle, double seconds) {
    if (!playing() || handle != song.get()) return;
    startAt(seconds);
}

void stop() { output.stop(); }

void pause() {
    if (playing()) output.pause();
}

void playFrom(double seconds) {
    if (playing() && outputRate != 0) startAt(seconds);
}

double heardMusicMs() {
    if (!playing() || outputRate == 0) return -1;
    const int64_t played = output.playedFrames();
    return played < 0 ? -1 : 1000.0 * (startSeconds + static_cast<double>(played) / outputRate);
}

}  // namespace builtin_music
