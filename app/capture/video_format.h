#pragma once
#include <string>

#include "app/capture/video_presets.h"

struct AVCodec;
struct AVDictionary;

// The container and the codecs a video file name asks for, and how the
// encoders are set for them.
struct VideoFormat {
    std::string container;     // the muxer: "mp4", "matroska", "webm", "gif"
    std::string videoEncoder;  // "libx264", "libx264rgb", "ffv1", "libvpx-vp9", "gif"
    std::string audioEncoder;  // "aac", "flac", "libopus"; empty: no sound (GIF)
    bool lossless = false;     // the pictures come back exactly as rendered
    const VideoPreset* preset = nullptr;  // a video made for a purpose: its frame, quality and sound

    bool paletted() const { return videoEncoder == "gif"; }  // needs a ClipPalette
};

// The format for `path` from its extension (.mp4, .mkv, .webm, .gif, any
// case), lossy or lossless, or the preset's (MP4); false with a one-line
// message for an unknown extension, a lossless GIF, a preset's file not named
// .mp4 or an encoder this ffmpeg lacks.
bool chooseVideoFormat(const std::string& path, bool lossless, const VideoPreset* preset, VideoFormat& format,
                       std::string& error);

// The rate the capture makes the music at for the format: a preset's, else
// 44,100 Hz (which the encoder may convert further).
int musicRate(const VideoFormat& format);

// The settings of the format's video encoder (the caller frees them).
AVDictionary* videoEncoderOptions(const VideoFormat& format);

// The rate the audio encoder takes for music at `musicRate`: that rate when
// it takes it, else the nearest it takes above (Opus: 48,000 Hz).
int audioRate(const AVCodec* codec, int musicRate);
