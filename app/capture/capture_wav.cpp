#include "app/capture/capture_wav.h"

#include <cerrno>
#include <cstring>

namespace {

void put16(uint8_t*& p, uint32_t v) {
    *p++ = static_cast<uint8_t>(v);
    *p++ = static_cast<uint8_t>(v >> 8);
}

void put32(uint8_t*& p, uint32_t v) {
    put16(p, v & 0xFFFF);
    put16(p, v >> 16);
}

constexpr uint32_t channels = 2;
constexpr uint32_t bytesPerFrame = channels * 2;
constexpr int64_t maxDataBytes = 0xFFFFFFFFLL - 36;

}  // namespace

WavWriter::~WavWriter() {
    if (file_) std::fclose(file_);
}

bool WavWriter::fail(std::string& error) {
    error = "cannot write '" + shownPath_ + "': " + std::strerror(errno ? errno : EIO);
    return false;
}

bool WavWriter::writeHeader(uint32_t dataBytes) {
    uint8_t header[44];
    uint8_t* p = header;
    std::memcpy(p, "RIFF", 4), p += 4;
    put32(p, 36 + dataBytes);
    std::memcpy(p, "WAVEfmt ", 8), p += 8;
    put32(p, 16);  // the size of the format chunk
    put16(p, 1);   // PCM
    put16(p, channels);
    put32(p, static_cast<uint32_t>(sampleRate_));
    put32(p, static_cast<uint32_t>(sampleRate_) * bytesPerFrame);
    put16(p, bytesPerFrame);
    put16(p, 16);  // bits per sample
    std::memcpy(p, "data", 4), p += 4;
    put32(p, dataBytes);
    return std::fwrite(header, 1, sizeof header, file_) == sizeof header;
}

bool WavWriter::open(const std::string& path, const std::string& shownPath, int sampleRate, std::string& error) {
    shownPath_ = shownPath;
    sampleRate_ = sampleRate;
    errno = 0;
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_ || !writeHeader(0)) return fail(error);
    return true;
}

bool WavWriter::write(const int16_t* interleaved, size_t frames, std::string& error) {
    // The samples go out little-endian, as the machines this runs on store them.
    errno = 0;
    if (std::fwrite(interleaved, bytesPerFrame, frames, file_) != frames) return fail(error);
    framesWritten_ += static_cast<int64_t>(frames);
    if (framesWritten_ * bytesPerFrame > maxDataBytes) {
        error = "'" + shownPath_ + "' would pass the 4 GB limit of WAV files";
        return false;
    }
    return true;
}

bool WavWriter::close(std::string& error) {
    errno = 0;
    bool ok = std::fseek(file_, 0, SEEK_SET) == 0 &&
              writeHeader(static_cast<uint32_t>(framesWritten_ * bytesPerFrame));
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    return ok || fail(error);
}
