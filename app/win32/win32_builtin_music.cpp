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

// Rates to fall back to, through the converter, when the output refuses the
// module's own rate.
constexpr int fallbackRates[] = {44100, 48000};

bool silenced = false;  // a warning was given: stay silent without another
std::unique_ptr<ModuleStream> song;
std::unique_ptr<RateConverter> converter;
WaveOut output;

void warn(const std::string& problem) {
    if (silenced) return;
    silenced = true;
    std::fprintf(stderr, "vokdemo: %s; the show goes on in silence\n", problem.c_str());
    std::fflush(stderr);
}

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

void playSong(void* handle) {
    if (silenced || handle == nullptr || handle != song.get()) return;
    ModuleStream* stream = song.get();
    MMRESULT result = output.start(ModuleStream::rate, [stream](int16_t* out, size_t frames) { stream->render(out, frames); });
    for (int rate : fallbackRates) {
        if (result != WAVERR_BADFORMAT) break;
        converter = std::make_unique<RateConverter>(
            ModuleStream::rate, rate, [stream](int16_t* out, size_t frames) { stream->render(out, frames); });
        RateConverter* convert = converter.get();
        result = output.start(rate, [convert](int16_t* out, size_t frames) { convert->convert(out, frames); });
    }
    if (result != MMSYSERR_NOERROR) warn("no sound device: waveOutOpen error " + std::to_string(result));
}

void stop() { output.stop(); }

}  // namespace builtin_music
