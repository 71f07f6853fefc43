#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "app/capture/capture_clip.h"
#include "app/capture/video_format.h"
#include "image/image.h"

class ClipPalette;
class MusicSource;
struct AVFormatContext;
struct AVCodecContext;
struct AVStream;
struct AVFrame;
struct AVPacket;
struct SwsContext;
struct SwrContext;
struct AVAudioFifo;

// Encodes the show's frames, scaled by a whole factor with nearest-neighbour
// sampling, and its music into one video file through the ffmpeg libraries.
// The music comes at its own rate (MusicSource::rate()) and is converted to
// the sample format, and where it must be the rate, the audio encoder takes.
class VideoWriter {
public:
    VideoWriter() = default;
    ~VideoWriter();
    VideoWriter(const VideoWriter&) = delete;
    VideoWriter& operator=(const VideoWriter&) = delete;

    // Before open(): the chapters of the file, in frames, and for a GIF the
    // palette its pictures are mapped to.
    void setChapters(const std::vector<Chapter>& chapters) { chapters_ = chapters; }
    void setPalette(ClipPalette* palette) { palette_ = palette; }

    // `path` is where the bytes go; `shownPath` names the file in messages;
    // the music will come at `musicRate`.
    bool open(const std::string& path, const std::string& shownPath, const VideoFormat& format, int scale, int fps,
              int musicRate, std::string& error);
    // Frame `index` of the file is shown from index / fps seconds on.
    bool writeFrame(const Image& image, int64_t index, std::string& error);
    // Encodes the music in whole encoder frames up to sample `endSample` at
    // most, counted at the music's rate from the start of the file. Nothing
    // happens for a file without sound.
    bool writeAudioUntil(MusicSource& music, int64_t endSample, std::string& error);
    // Encodes the rest of the music up to `totalSamples`, drains the
    // encoders and completes the file.
    bool finish(MusicSource& music, int64_t totalSamples, std::string& error);

private:
    bool openVideo(const VideoFormat& format, int scale, int fps, std::string& error);
    bool openPictures(std::string& error);
    void scalePicture(const Image& image);
    bool openAudio(const VideoFormat& format, int musicRate, std::string& error);
    bool openConverter(int musicRate, std::string& error);
    bool writeHeader(const std::string& path, const VideoFormat& format, std::string& error);
    AVStream* addStream(AVCodecContext* codec);
    void addChapters(int fps);
    bool sendFrame(AVCodecContext* codec, AVStream* stream, AVFrame* frame, std::string& error);
    bool convertMusic(MusicSource* music, int64_t endSample, std::string& error);
    bool convertBlock(const float* interleaved, int frames, std::string& error);
    bool writeAudio(int samples, std::string& error);
    bool encodeWholeFrames(std::string& error);
    bool finishAudio(MusicSource& music, int64_t totalSamples, std::string& error);
    bool completeFile(std::string& error);
    int audioFrameSize() const;  // samples the audio encoder takes at a time
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
    SwrContext* converter_ = nullptr;   // the music's interleaved floats to the encoder's samples
    AVAudioFifo* converted_ = nullptr;  // converted, not yet encoded
    ClipPalette* palette_ = nullptr;
    std::vector<Chapter> chapters_;
    std::vector<float> interleaved_;
    int pictureWidth_ = 0, pictureHeight_ = 0;  // the scaled picture: the frame, or its middle
    int64_t musicRead_ = 0;       // at the music's rate
    int64_t samplesWritten_ = 0;  // at the encoder's rate
    bool headerWritten_ = false;  // and the trailer not yet
};
