#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// Plays 16-bit interleaved stereo through winmm's waveOut (a system DLL). A
// thread of its own keeps a ring of buffers queued, refilling each from the
// source as the device hands it back, so the caller never waits on the sound.
class WaveOut {
public:
    // Fills all `frames` frames it is asked for; called on the sound thread only.
    using Source = std::function<void(int16_t* out, size_t frames)>;

    WaveOut() = default;
    ~WaveOut();
    WaveOut(const WaveOut&) = delete;
    WaveOut& operator=(const WaveOut&) = delete;

    // Opens the default output at `rate` and starts playing. On failure it
    // returns the waveOut error (WAVERR_BADFORMAT: the rate is not taken).
    MMRESULT start(int rate, Source source);

    // Stops the thread and closes the device; playing ends at once.
    void stop();

    // Holds the sound where it is; start() plays again.
    void pause();

    // The frames the device has played since start(), or -1 when none is open.
    int64_t playedFrames();

private:
    static DWORD WINAPI run(void* self);
    void feed(WAVEHDR& header);

    static constexpr int bufferCount = 8;
    static constexpr size_t bufferFrames = 1024;

    HWAVEOUT device = nullptr;
    HANDLE bufferDone = nullptr;  // signalled by the device for each buffer played
    HANDLE thread = nullptr;
    volatile LONG stopping = 0;
    Source source;
    WAVEHDR headers[bufferCount] = {};
    std::vector<int16_t> samples;
};
