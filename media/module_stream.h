#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

namespace openmpt {
class module;
}

// The show's module rendered by libopenmpt as interleaved stereo, played
// once: the one renderer of the music, held by the SDL player, the capture,
// the Windows built-in music and the browser's music tool (tools/webmusic).
//
// The rate: libopenmpt renders a whole number of samples a tick, so at
// 44,100 Hz it would round every tick of the show's tempo (116 BPM) down and
// run the music 45 ms early by the end; at 44,080 Hz a tick is exactly 950
// samples. Whoever needs another rate converts from this one.
//
// It never dithers, so every run and every build of the library give the
// same samples.
class ModuleStream {
public:
    static constexpr int rate = 44080;

    ModuleStream();
    ~ModuleStream();
    ModuleStream(const ModuleStream&) = delete;
    ModuleStream& operator=(const ModuleStream&) = delete;

    // Loads the module file at `path`. False when it cannot be read or played; `problem`
    // then says why.
    bool load(const std::string& path, std::string& problem);
    bool loaded() const { return module != nullptr; }

    // To `seconds` from the start of the module, to the frame (see seekModule).
    void seek(double seconds);

    // Fills all `frames` (two samples each): the music, then silence after
    // its end or when nothing is loaded. Returns how many frames were music.
    size_t render(int16_t* out, size_t frames);
    size_t render(float* out, size_t frames);  // full scale is 1.0

private:
    std::ostringstream libraryLog;  // the library's own messages, kept off std::clog
    std::unique_ptr<openmpt::module> module;
};

// Moves `module` to frame round(seconds x 44,080) exactly, sounding as the
// module played through to there: the library is moved to a row that starts
// at or before it, with its rows timed at 44,080 Hz and the samples that
// sound synchronised, and the frames from there are rendered and dropped.
// Past the end, the module is at its end. Returns the frame it reached.
int64_t seekModule(openmpt::module& module, double seconds);
