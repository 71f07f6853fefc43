#include "app/capture/video_format.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
}

#include <cctype>

#include "app/capture/capture_music.h"

namespace {

std::string lowerExtension(const std::string& path) {
    size_t slash = path.find_last_of('/');
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string extension = path.substr(dot);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

// The encoders and the muxer this ffmpeg must have for the format.
bool formatAvailable(const VideoFormat& format, const std::string& extension, std::string& error) {
    for (const std::string* encoder : {&format.videoEncoder, &format.audioEncoder}) {
        if (!encoder->empty() && !avcodec_find_encoder_by_name(encoder->c_str())) {
            error = "this ffmpeg has no " + *encoder + " encoder, needed for " + extension + " video";
            return false;
        }
    }
    if (!av_guess_format(format.container.c_str(), nullptr, nullptr)) {
        error = "this ffmpeg cannot write " + extension + " files";
        return false;
    }
    return true;
}

void x264Options(const VideoFormat& format, AVDictionary*& options) {
    if (format.preset) {
        // Made for a screen or a site that encodes again: a quality that
        // keeps the large whole-scaled pixels sharp, in the profile every
        // player and site takes.
        av_dict_set(&options, "preset", "veryfast", 0);
        av_dict_set(&options, "tune", "animation", 0);
        av_dict_set(&options, "profile", "high", 0);
        av_dict_set(&options, "crf", std::to_string(format.preset->crf).c_str(), 0);
        return;
    }
    if (format.lossless) {
        av_dict_set(&options, "preset", "superfast", 0);
        av_dict_set(&options, "qp", "0", 0);
        return;
    }
    // Flat pixel art with hard edges: a low crf and the settings made for
    // animation keep every scene above 40 dB PSNR at scale 2, and veryfast
    // still captures the show at 60 fps several times faster than real time
    // on two cores.
    av_dict_set(&options, "preset", "veryfast", 0);
    av_dict_set(&options, "tune", "animation", 0);
    av_dict_set(&options, "crf", "10", 0);
}

void vp9Options(const VideoFormat& format, AVDictionary*& options) {
    // The realtime settings keep VP9 fast; at crf 20 every scene stays above
    // 40 dB PSNR at scale 2 (the worst, scene 8, 41.6 dB), where crf 24 left
    // scene 12 at 40.4.
    av_dict_set(&options, "deadline", "realtime", 0);
    av_dict_set(&options, "cpu-used", "8", 0);
    av_dict_set(&options, "row-mt", "1", 0);
    av_dict_set(&options, format.lossless ? "lossless" : "crf", format.lossless ? "1" : "20", 0);
    av_dict_set(&options, "b", "0", 0);  // quality alone decides, not a bit rate
}

}  // namespace

bool chooseVideoFormat(const std::string& path, bool lossless, const VideoPreset* preset, VideoFormat& format,
                       std::string& error) {
    const std::string extension = lowerExtension(path);
    if (preset && (extension != ".mp4" || lossless)) {
        error = std::string("--preset ") + preset->name + " writes lossy MP4 video: name the file .mp4";
        return false;
    }
    if (preset) {
        format = {"mp4", "libx264", "aac", false, preset};
    } else if (extension == ".mp4") {
        format = {"mp4", lossless ? "libx264rgb" : "libx264", "aac", lossless};
    } else if (extension == ".mkv") {
        format = {"matroska", lossless ? "ffv1" : "libx264", lossless ? "flac" : "aac", lossless};
    } else if (extension == ".webm") {
        format = {"webm", "libvpx-vp9", "libopus", lossless};
    } else if (extension == ".gif" && !lossless) {
        format = {"gif", "gif", "", false};
    } else if (extension == ".gif") {
        error = "a GIF has 256 colours and cannot be --lossless; use .mkv, .mp4 or .webm";
        return false;
    } else {
        error = "cannot tell the video format of '" + path + "': name it .mp4, .mkv, .webm or .gif";
        return false;
    }
    return formatAvailable(format, extension, error);
}

AVDictionary* videoEncoderOptions(const VideoFormat& format) {
    AVDictionary* options = nullptr;
    if (format.videoEncoder == "libx264" || format.videoEncoder == "libx264rgb") x264Options(format, options);
    if (format.videoEncoder == "libvpx-vp9") vp9Options(format, options);
    if (format.videoEncoder == "ffv1") {
        av_dict_set(&options, "level", "3", 0);
        av_dict_set(&options, "slices", "4", 0);
    }
    return options;
}

int audioRate(const AVCodec* codec, int musicRate) {
    if (!codec->supported_samplerates) return musicRate;
    int best = 0;
    for (const int* rate = codec->supported_samplerates; *rate; ++rate) {
        if (*rate == musicRate) return *rate;
        if (*rate > musicRate && (best == 0 || *rate < best)) best = *rate;
    }
    return best ? best : codec->supported_samplerates[0];
}

int musicRate(const VideoFormat& format) { return format.preset ? format.preset->audioRate : MusicSource::defaultRate; }
