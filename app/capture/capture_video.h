#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "image/image.h"

class MusicSource;
struct AVFormatContext;
struct AVCodecContext;
struct AVStream;
struct AVFrame;
struct AVPacket;
struct SwsContext;

// The container and the codecs a video file name asks for.
struct VideoFormat {
    std::string container;     // the muxer: "mp4", "matroska", "webm"
    std::string videoEncoder;  // "libx264", "libx264rgb", "ffv1", "libvpx-vp9"
    std::string audioEncoder;  // "aac", "flac", "libvorbis"
    bool lossless = false;     // the pictures come back exactly as rendered
};

// The format for `path` from its extension (.mp4, .mkv, .webm, any case),
// lossy or lossless; false with a one-line message for an unknown extension
// or an encoder this ffmpeg lacks.
bool chooseVideoFormat(const std::string& path, bool lossless, VideoFormat& format, std::string& error);

// Encodes the show's frames, scaled by a whole factor with nearest-neighbour
// sampling, and its music into one video file through the ffmpeg libraries.
class VideoWriter {
public:
    VideoWriter() = default;
    ~VideoWriter();
    VideoWriter(const VideoWriter&) = delete;
    VideoWriter& operator=(const VideoWriter&) = delete;

    // `path` is where the bytes go; `shownPath` names the file in messages.
    bool open(const std::string& path, const std::string& shownPath, const VideoFormat& format, int scale, int fps,
              std::string& error);
    // Frame `index` is shown from index / fps seconds on.
    bool writeFrame(const Image& image, int64_t index, std::string& error);
    // Encodes the music in whole encoder frames up to sample `endSample` at most.
    bool writeAudioUntil(MusicSource& music, int64_t endSample, std::string& error);
    // Encodes the rest of the music up to `totalSamples`, drains the
    // encoders and completes the file.
    bool finish(MusicSource& music, int64_t totalSamples, std::string& error);

private:
    bool openVideo(const VideoFormat& format, int scale, int fps, std::string& error);
    bool openAudio(const VideoFormat& format, std::string& error);
    bool sendFrame(AVCodecContext* codec, AVStream* stream, AVFrame* frame, std::string& error);
    bool fillAudioFrame(MusicSource& music, int samples, std::string& error);
    bool writeAudio(MusicSource& music, int samples, std::string& error);
    bool failed(const char* what, int code, std::string& error) const;

    std::string shownPath_;
    AVFormatContext* container_ = nullptr;
    AVCodecContext* video_ = nullptr;
    AVCodecContext* audio_ = nullptr;
    AVStream* videoStream_ = nullptr;
    AVStream* audioStream_ = nullptr;
    AVFrame* picture_ = nullptr;
    AVFrame* sound_ = nullptr;
    AVPacket* packet_ = nullptr;
    SwsContext* scaler_ = nullptr;
    std::vector<float> interleaved_;
    int64_t samplesWritten_ = 0;
};
