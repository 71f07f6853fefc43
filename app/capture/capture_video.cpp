#include "app/capture/capture_video.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
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

std::string avError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

// The work image's BGRA bytes read as BGR0: the fourth byte carries no colour.
constexpr AVPixelFormat sourceFormat = AV_PIX_FMT_BGR0;

// Lossless video keeps the colours as they are: RGB, no chroma subsampling.
AVPixelFormat pictureFormat(const VideoFormat& format) {
    if (format.videoEncoder == "libx264rgb" || format.videoEncoder == "ffv1") return AV_PIX_FMT_BGR0;
    if (format.lossless) return AV_PIX_FMT_GBRP;
    return AV_PIX_FMT_YUV420P;
}

}  // namespace

bool chooseVideoFormat(const std::string& path, bool lossless, VideoFormat& format, std::string& error) {
    std::string extension = lowerExtension(path);
    if (extension == ".mp4")
        format = {"mp4", lossless ? "libx264rgb" : "libx264", "aac", lossless};
    else if (extension == ".mkv")
        format = {"matroska", lossless ? "ffv1" : "libx264", lossless ? "flac" : "aac", lossless};
    else if (extension == ".webm")
        format = {"webm", "libvpx-vp9", "libvorbis", lossless};
    else {
        error = "cannot tell the video format of '" + path + "': name it .mp4, .mkv or .webm";
        return false;
    }
    for (const std::string* encoder : {&format.videoEncoder, &format.audioEncoder}) {
        if (!avcodec_find_encoder_by_name(encoder->c_str())) {
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

VideoWriter::~VideoWriter() {
    if (container_ && container_->pb) avio_closep(&container_->pb);
    avformat_free_context(container_);
    avcodec_free_context(&video_);
    avcodec_free_context(&audio_);
    av_frame_free(&picture_);
    av_frame_free(&sound_);
    av_packet_free(&packet_);
    sws_freeContext(scaler_);
}

bool VideoWriter::failed(const char* what, int code, std::string& error) const {
    error = std::string(what) + " '" + shownPath_ + "': " + avError(code);
    return false;
}

bool VideoWriter::open(const std::string& path, const std::string& shownPath, const VideoFormat& format, int scale,
                       int fps, std::string& error) {
    shownPath_ = shownPath;
    av_log_set_level(AV_LOG_ERROR);  // the libraries' chatter stays off the terminal
    int code = avformat_alloc_output_context2(&container_, nullptr, format.container.c_str(), path.c_str());
    if (code < 0) return failed("cannot make", code, error);
    packet_ = av_packet_alloc();
    if (!openVideo(format, scale, fps, error) || !openAudio(format, error)) return false;
    code = avio_open(&container_->pb, path.c_str(), AVIO_FLAG_WRITE);
    if (code < 0) return failed("cannot write", code, error);
    AVDictionary* options = nullptr;
    if (format.container == "mp4") av_dict_set(&options, "movflags", "+faststart", 0);
    code = avformat_write_header(container_, &options);
    av_dict_free(&options);
    if (code < 0) return failed("cannot write", code, error);
    return true;
}

bool VideoWriter::openVideo(const VideoFormat& format, int scale, int fps, std::string& error) {
    const AVCodec* codec = avcodec_find_encoder_by_name(format.videoEncoder.c_str());
    video_ = avcodec_alloc_context3(codec);
    video_->width = screenWidth * scale;
    video_->height = screenHeight * scale;
    video_->time_base = AVRational{1, fps};
    video_->framerate = AVRational{fps, 1};
    video_->pix_fmt = pictureFormat(format);
    video_->thread_count = 0;  // as many as the machine has
    const bool lossless = format.lossless;
    if (video_->pix_fmt == AV_PIX_FMT_YUV420P) {
        video_->colorspace = AVCOL_SPC_BT709;
        video_->color_primaries = AVCOL_PRI_BT709;
        video_->color_trc = AVCOL_TRC_BT709;
        video_->color_range = AVCOL_RANGE_MPEG;
    }
    if (container_->oformat->flags & AVFMT_GLOBALHEADER) video_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;

    AVDictionary* options = nullptr;
    if (format.videoEncoder == "libx264" || format.videoEncoder == "libx264rgb") {
        // superfast keeps the whole show at 60 fps and scale 3 well above real time on two cores.
        av_dict_set(&options, "preset", "superfast", 0);
        av_dict_set(&options, lossless ? "qp" : "crf", lossless ? "0" : "20", 0);
    } else if (format.videoEncoder == "ffv1") {
        av_dict_set(&options, "level", "3", 0);
        av_dict_set(&options, "slices", "4", 0);
    } else if (format.videoEncoder == "libvpx-vp9") {
        av_dict_set(&options, "deadline", "realtime", 0);
        av_dict_set(&options, "cpu-used", "8", 0);
        av_dict_set(&options, "row-mt", "1", 0);
        av_dict_set(&options, lossless ? "lossless" : "crf", lossless ? "1" : "24", 0);
        video_->bit_rate = 0;
    }
    int code = avcodec_open2(video_, codec, &options);
    av_dict_free(&options);
    if (code < 0) return failed(("cannot start the " + format.videoEncoder + " encoder for").c_str(), code, error);

    videoStream_ = avformat_new_stream(container_, nullptr);
    videoStream_->time_base = video_->time_base;
    videoStream_->avg_frame_rate = video_->framerate;
    avcodec_parameters_from_context(videoStream_->codecpar, video_);

    picture_ = av_frame_alloc();
    picture_->format = video_->pix_fmt;
    picture_->width = video_->width;
    picture_->height = video_->height;
    code = av_frame_get_buffer(picture_, 0);
    if (code < 0) return failed("cannot make pictures for", code, error);

    scaler_ = sws_getContext(screenWidth, screenHeight, sourceFormat, video_->width, video_->height, video_->pix_fmt,
                             SWS_POINT, nullptr, nullptr, nullptr);
    if (!scaler_) return failed("cannot scale pictures for", AVERROR(EINVAL), error);
    if (video_->pix_fmt == AV_PIX_FMT_YUV420P) {
        const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
        sws_setColorspaceDetails(scaler_, bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
    }
    return true;
}

bool VideoWriter::openAudio(const VideoFormat& format, std::string& error) {
    const AVCodec* codec = avcodec_find_encoder_by_name(format.audioEncoder.c_str());
    audio_ = avcodec_alloc_context3(codec);
    audio_->sample_rate = MusicSource::sampleRate;
    audio_->time_base = AVRational{1, MusicSource::sampleRate};
    audio_->sample_fmt = format.audioEncoder == "flac" ? AV_SAMPLE_FMT_S16 : AV_SAMPLE_FMT_FLTP;
    av_channel_layout_default(&audio_->ch_layout, 2);
    if (format.audioEncoder == "aac") audio_->bit_rate = 192000;
    if (container_->oformat->flags & AVFMT_GLOBALHEADER) audio_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int code = avcodec_open2(audio_, codec, nullptr);
    if (code < 0) return failed(("cannot start the " + format.audioEncoder + " encoder for").c_str(), code, error);

    audioStream_ = avformat_new_stream(container_, nullptr);
    audioStream_->time_base = audio_->time_base;
    avcodec_parameters_from_context(audioStream_->codecpar, audio_);

    int frameSize = audio_->frame_size > 0 ? audio_->frame_size : 1024;
    sound_ = av_frame_alloc();
    sound_->format = audio_->sample_fmt;
    sound_->sample_rate = audio_->sample_rate;
    av_channel_layout_copy(&sound_->ch_layout, &audio_->ch_layout);
    sound_->nb_samples = frameSize;
    code = av_frame_get_buffer(sound_, 0);
    if (code < 0) return failed("cannot make sound frames for", code, error);
    interleaved_.resize(static_cast<size_t>(frameSize) * 2);
    return true;
}

bool VideoWriter::sendFrame(AVCodecContext* codec, AVStream* stream, AVFrame* frame, std::string& error) {
    int code = avcodec_send_frame(codec, frame);
    if (code < 0) return failed("cannot encode", code, error);
    for (;;) {
        code = avcodec_receive_packet(codec, packet_);
        if (code == AVERROR(EAGAIN) || code == AVERROR_EOF) return true;
        if (code < 0) return failed("cannot encode", code, error);
        av_packet_rescale_ts(packet_, codec->time_base, stream->time_base);
        packet_->stream_index = stream->index;
        code = av_interleaved_write_frame(container_, packet_);
        if (code < 0) return failed("cannot write", code, error);
    }
}

bool VideoWriter::writeFrame(const Image& image, int64_t index, std::string& error) {
    int code = av_frame_make_writable(picture_);
    if (code < 0) return failed("cannot make pictures for", code, error);
    const uint8_t* planes[1] = {image.pixels};
    const int strides[1] = {image.width * 4};
    sws_scale(scaler_, planes, strides, 0, image.height, picture_->data, picture_->linesize);
    picture_->pts = index;
    return sendFrame(video_, videoStream_, picture_, error);
}

bool VideoWriter::fillAudioFrame(MusicSource& music, int samples, std::string& error) {
    int code = av_frame_make_writable(sound_);
    if (code < 0) return failed("cannot make sound frames for", code, error);
    sound_->nb_samples = samples;
    if (audio_->sample_fmt == AV_SAMPLE_FMT_S16) {
        music.render(reinterpret_cast<int16_t*>(sound_->data[0]), static_cast<size_t>(samples));
        return true;
    }
    music.render(interleaved_.data(), static_cast<size_t>(samples));
    float* left = reinterpret_cast<float*>(sound_->data[0]);
    float* right = reinterpret_cast<float*>(sound_->data[1]);
    for (int i = 0; i < samples; ++i) {
        left[i] = interleaved_[2 * static_cast<size_t>(i)];
        right[i] = interleaved_[2 * static_cast<size_t>(i) + 1];
    }
    return true;
}

bool VideoWriter::writeAudio(MusicSource& music, int samples, std::string& error) {
    if (!fillAudioFrame(music, samples, error)) return false;
    sound_->pts = samplesWritten_;
    samplesWritten_ += samples;
    return sendFrame(audio_, audioStream_, sound_, error);
}

bool VideoWriter::writeAudioUntil(MusicSource& music, int64_t endSample, std::string& error) {
    const int frameSize = static_cast<int>(interleaved_.size() / 2);
    while (samplesWritten_ + frameSize <= endSample)
        if (!writeAudio(music, frameSize, error)) return false;
    return true;
}

bool VideoWriter::finish(MusicSource& music, int64_t totalSamples, std::string& error) {
    if (!writeAudioUntil(music, totalSamples, error)) return false;
    // The short rest of the track; an encoder that takes only whole frames
    // gets one, and the track runs on by less than a frame.
    int rest = static_cast<int>(totalSamples - samplesWritten_);
    if (rest > 0) {
        bool smallLast = (audio_->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME) != 0;
        if (!writeAudio(music, smallLast ? rest : static_cast<int>(interleaved_.size() / 2), error)) return false;
    }
    if (!sendFrame(video_, videoStream_, nullptr, error) || !sendFrame(audio_, audioStream_, nullptr, error))
        return false;
    int code = av_write_trailer(container_);
    if (code < 0) return failed("cannot write", code, error);
    code = avio_closep(&container_->pb);
    if (code < 0) return failed("cannot write", code, error);
    return true;
}
