#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

// A 16-bit stereo PCM WAV file; the sizes in its header are filled in on close.
class WavWriter {
public:
    WavWriter() = default;
    ~WavWriter();
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    // `path` is where the bytes go; `shownPath` names the file in messages.
    bool open(const std::string& path, const std::string& shownPath, int sampleRate, std::string& error);
    bool write(const int16_t* interleaved, size_t frames, std::string& error);
    bool close(std::string& error);

    int64_t framesWritten() const { return framesWritten_; }

private:
    bool writeHeader(uint32_t dataBytes);
    bool fail(std::string& error);

    FILE* file_ = nullptr;
    std::string shownPath_;
    int sampleRate_ = 0;
    int64_t framesWritten_ = 0;
};
