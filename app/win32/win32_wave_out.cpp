#include "app/win32/win32_wave_out.h"

#include <utility>

WaveOut::~WaveOut() { stop(); }

MMRESULT WaveOut::start(int rate, Source newSource) {
    stop();
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = static_cast<DWORD>(rate);
    format.wBitsPerSample = 16;
    format.nBlockAlign = static_cast<WORD>(format.nChannels * format.wBitsPerSample / 8);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;

    bufferDone = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (bufferDone == nullptr) return MMSYSERR_NOMEM;
    const MMRESULT opened = waveOutOpen(&device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(bufferDone), 0,
                                        CALLBACK_EVENT);
    if (opened != MMSYSERR_NOERROR) {
        device = nullptr;
        stop();
        return opened;
    }
    source = std::move(newSource);
    samples.assign(2 * bufferFrames * bufferCount, 0);
    for (int i = 0; i < bufferCount; ++i) {
        WAVEHDR& header = headers[i];
        header = WAVEHDR{};
        header.lpData = reinterpret_cast<LPSTR>(samples.data() + 2 * bufferFrames * i);
        header.dwBufferLength = static_cast<DWORD>(bufferFrames * format.nBlockAlign);
        waveOutPrepareHeader(device, &header, sizeof header);
    }
    stopping = 0;
    thread = CreateThread(nullptr, 0, run, this, 0, nullptr);
    if (thread == nullptr) {
        stop();
        return MMSYSERR_NOMEM;
    }
    // The music must not wait behind the unthrottled render loop.
    SetThreadPriority(thread, THREAD_PRIORITY_HIGHEST);
    return MMSYSERR_NOERROR;
}

void WaveOut::feed(WAVEHDR& header) {
    source(reinterpret_cast<int16_t*>(header.lpData), bufferFrames);
    waveOutWrite(device, &header, sizeof header);
}

// Queues every buffer, then refills each one the device has finished with.
DWORD WINAPI WaveOut::run(void* self) {
    WaveOut& out = *static_cast<WaveOut*>(self);
    for (WAVEHDR& header : out.headers) out.feed(header);
    for (;;) {
        WaitForSingleObject(out.bufferDone, INFINITE);
        if (InterlockedCompareExchange(&out.stopping, 0, 0) != 0) return 0;
        for (WAVEHDR& header : out.headers) {
            if (header.dwFlags & WHDR_DONE) {
                header.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
                out.feed(header);
            }
        }
    }
}

void WaveOut::stop() {
    if (thread != nullptr) {
        InterlockedExchange(&stopping, 1);
        SetEvent(bufferDone);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        thread = nullptr;
    }
    if (device != nullptr) {
        waveOutReset(device);
        for (WAVEHDR& header : headers) waveOutUnprepareHeader(device, &header, sizeof header);
        waveOutClose(device);
        device = nullptr;
    }
    if (bufferDone != nullptr) {
        CloseHandle(bufferDone);
        bufferDone = nullptr;
    }
}

void WaveOut::pause() {
    if (device != nullptr) waveOutPause(device);
}

int64_t WaveOut::playedFrames() {
    if (device == nullptr) return -1;
    MMTIME time = {};
    time.wType = TIME_SAMPLES;
    if (waveOutGetPosition(device, &time, sizeof time) != MMSYSERR_NOERROR || time.wType != TIME_SAMPLES) return -1;
    return time.u.sample;
}
