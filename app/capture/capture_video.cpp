#include "app/capture/capture_video.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>

#include "app/capture/capture_music.h"
#include "app/capture/capture_palette.h"

namespace {

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
    if (format.paletted()) return AV_PIX_FMT_PAL8;
    if (format.lossless) return AV_PIX_FMT_GBRP;
    return AV_PIX_FMT_YUV420P;
}

// Floats where the encoder takes them, planar or interleaved, else 16-bit
// samples (FLAC), else the first format it lists.
AVSampleFormat audioSampleFormat(const AVCodec* codec) {
    if (!codec->sample_fmts) return AV_SAMPLE_FMT_FLTP;
    for (AVSampleFormat wanted : {AV_SAMPLE_FMT_FLTP, AV_SAMPLE_FMT_FLT, AV_SAMPLE_FMT_S16})
        for (const AVSampleFormat* f = codec->sample_fmts; *f != AV_SAMPLE_FMT_NONE; ++f)
            if (*f == wanted) return *f;
    return codec->sample_fmts[0];
}

// Video in the colours of HD television: BT.709, limited range.
void useBt709(AVCodecContext* video) {
    video->colorspace = AVCOL_SPC_BT709;
    video->color_primaries = AVCOL_PRI_BT709;
    video->color_trc = AVCOL_TRC_BT709;
    video->color_range = AVCOL_RANGE_MPEG;
}

}  // namespace

VideoWriter::~VideoWriter() {
    // A file abandoned half-way still gets its trailer: some muxers (GIF)
    // free what they hold only there. The file itself is removed.
    if (headerWritten_) av_write_trailer(container_);
    if (container_ && container_->pb) avio_closep(&container_->pb);
    avformat_free_context(container_);
    avcodec_free_context(&video_);
    avcodec_free_context(&audio_);
    av_frame_free(&picture_);
    av_frame_free(&sound_);
    av_packet_free(&packet_);
    sws_freeContext(scaler_);
    swr_free(&converter_);
    if (converted_) av_audio_fifo_free(converted_);
}

bool VideoWriter::failed(const char* what, int code, std::string& error) const {
    error = std::string(what) + " '" + shownPath_ + "': " + avError(code);
    return false;
}

bool VideoWriter::open(const std::string& path, const std::string& shownPath, const VideoFormat& format, int scale,
                       int fps, int musicRate, std::string& error) {
    shownPath_ = shownPath;
    if (format.paletted() && !palette_) return failed("no palette for", AVERROR(EINVAL), error);
    av_log_set_level(AV_LOG_ERROR);  // the libraries' chatter stays off the terminal
    const int code = avformat_alloc_output_context2(&container_, nullptr, format.container.c_str(), path.c_str());
    if (code < 0) return failed("cannot make", code, error);
    packet_ = av_packet_alloc();
    if (!openVideo(format, scale, fps, error) || !openPictures(error)) return false;
    if (!format.audioEncoder.empty() && !openAudio(format, musicRate, error)) return false;
    addChapters(fps);
    return writeHeader(path, format, error);
}

bool VideoWriter::writeHeader(const std::string& path, const VideoFormat& format, std::string& error) {
    int code = avio_open(&container_->pb, path.c_str(), AVIO_FLAG_WRITE);
    if (code < 0) return failed("cannot write", code, error);
    AVDictionary* options = nullptr;
    if (format.container == "mp4") av_dict_set(&options, "movflags", "+faststart", 0);
    if (format.container == "gif") av_dict_set(&options, "loop", "0", 0);  // for ever
    code = avformat_write_header(container_, &options);
    av_dict_free(&options);
    if (code < 0) return failed("cannot write", code, error);
    headerWritten_ = true;
    return true;
}

// A stream of the container with the encoder's parameters and time base.
AVStream* VideoWriter::addStream(AVCodecContext* codec) {
    AVStream* stream = avformat_new_stream(container_, nullptr);
    if (!stream) return nullptr;
    stream->time_base = codec->time_base;
    avcodec_parameters_from_context(stream->codecpar, codec);
    return stream;
}

bool VideoWriter::openVideo(const VideoFormat& format, int scale, int fps, std::string& error) {
    const AVCodec* codec = avcodec_find_encoder_by_name(format.videoEncoder.c_str());
    video_ = avcodec_alloc_context3(codec);
    pictureWidth_ = screenWidth * scale;
    pictureHeight_ = screenHeight * scale;
    video_->width = format.preset ? format.preset->width : pictureWidth_;
    video_->height = format.preset ? format.preset->height : pictureHeight_;
    video_->time_base = AVRational{1, fps};
    video_->framerate = AVRational{fps, 1};
    video_->pix_fmt = pictureFormat(format);
    video_->thread_count = 0;  // as many as the machine has
    if (video_->pix_fmt == AV_PIX_FMT_YUV420P) useBt709(video_);
    if (container_->oformat->flags & AVFMT_GLOBALHEADER) video_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = videoEncoderOptions(format);
    const int code = avcodec_open2(video_, codec, &options);
    av_dict_free(&options);
    if (code < 0) return failed(("cannot start the " + format.videoEncoder + " encoder for").c_str(), code, error);
    videoStream_ = addStream(video_);
    if (!videoStream_) return failed("cannot make", AVERROR(ENOMEM), error);
    videoStream_->avg_frame_rate = video_->framerate;
    return true;
}

// The picture the encoder takes, and the scaler that fills it (a GIF's
// palette maps and scales the pictures itself).
bool VideoWriter::openPictures(std::string& error) {
    picture_ = av_frame_alloc();
    picture_->format = video_->pix_fmt;
    picture_->width = video_->width;
    picture_->height = video_->height;
    const int code = av_frame_get_buffer(picture_, 0);
    if (code < 0) return failed("cannot make pictures for", code, error);
    if (palette_) return true;
    scaler_ = sws_getContext(screenWidth, screenHeight, sourceFormat, pictureWidth_, pictureHeight_, video_->pix_fmt,
                             SWS_POINT, nullptr, nullptr, nullptr);
    if (!scaler_) return failed("cannot scale pictures for", AVERROR(EINVAL), error);
    if (video_->pix_fmt == AV_PIX_FMT_YUV420P) {
        const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
        sws_setColorspaceDetails(scaler_, bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
    }
    return true;
}

bool VideoWriter::openAudio(const VideoFormat& format, int musicRate, std::string& error) {
    const AVCodec* codec = avcodec_find_encoder_by_name(format.audioEncoder.c_str());
    audio_ = avcodec_alloc_context3(codec);
    audio_->sample_rate = audioRate(codec, musicRate);
    audio_->time_base = AVRational{1, audio_->sample_rate};
    audio_->sample_fmt = audioSampleFormat(codec);
    av_channel_layout_default(&audio_->ch_layout, 2);
    if (format.audioEncoder == "aac") audio_->bit_rate = format.preset ? format.preset->audioBitRate : 192000;
    if (format.audioEncoder == "libopus") audio_->bit_rate = 160000;
    if (container_->oformat->flags & AVFMT_GLOBALHEADER) audio_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int code = avcodec_open2(audio_, codec, nullptr);
    if (code < 0) return failed(("cannot start the " + format.audioEncoder + " encoder for").c_str(), code, error);
    audioStream_ = addStream(audio_);
    if (!audioStream_) return failed("cannot make", AVERROR(ENOMEM), error);

    sound_ = av_frame_alloc();
    sound_->format = audio_->sample_fmt;
    sound_->sample_rate = audio_->sample_rate;
    av_channel_layout_copy(&sound_->ch_layout, &audio_->ch_layout);
    sound_->nb_samples = audioFrameSize();
    code = av_frame_get_buffer(sound_, 0);
    if (code < 0) return failed("cannot make sound frames for", code, error);
    return openConverter(musicRate, error);
}

int VideoWriter::audioFrameSize() const { return audio_->frame_size > 0 ? audio_->frame_size : 1024; }

// The music's interleaved floats become the encoder's samples; at the same
// rate that is a plain copy or rounding, with no dither, as in the WAV file.
bool VideoWriter::openConverter(int musicRate, std::string& error) {
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    int code = swr_alloc_set_opts2(&converter_, &stereo, audio_->sample_fmt, audio_->sample_rate, &stereo,
                                   AV_SAMPLE_FMT_FLT, musicRate, 0, nullptr);
    if (code >= 0) code = av_opt_set_int(converter_, "dither_method", 0, 0);
    if (code >= 0) code = swr_init(converter_);
    if (code < 0) return failed("cannot convert the music for", code, error);
    converted_ = av_audio_fifo_alloc(audio_->sample_fmt, 2, audioFrameSize());
    if (!converted_) return failed("cannot convert the music for", AVERROR(ENOMEM), error);
    return true;
}

// One chapter per scene, in the pictures' time base.
void VideoWriter::addChapters(int fps) {
    if (chapters_.empty() || container_->oformat == av_guess_format("gif", nullptr, nullptr)) return;
    container_->chapters = static_cast<AVChapter**>(av_calloc(chapters_.size(), sizeof(AVChapter*)));
    for (const Chapter& chapter : chapters_) {
        AVChapter* entry = static_cast<AVChapter*>(av_mallocz(sizeof(AVChapter)));
        if (!container_->chapters || !entry) {
            av_free(entry);
            return;  // out of memory: the file goes without chapters
        }
        entry->id = container_->nb_chapters + 1;
        entry->time_base = AVRational{1, fps};
        entry->start = chapter.start;
        entry->end = chapter.end;
        av_dict_set(&entry->metadata, "title", chapter.title.c_str(), 0);
        container_->chapters[container_->nb_chapters++] = entry;
    }
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
    if (palette_) {
        palette_->map(image, video_->width / image.width, picture_->data[0], picture_->linesize[0]);
        std::copy_n(palette_->entries(), 256, reinterpret_cast<uint32_t*>(picture_->data[1]));
    } else {
        scalePicture(image);
    }
    picture_->pts = index;
    return sendFrame(video_, videoStream_, picture_, error);
}

// The picture scaled into the middle of the frame, on black where the frame
// is larger (a preset's). The offsets are even, so that the 4:2:0 colour
// planes start in step with the picture.
void VideoWriter::scalePicture(const Image& image) {
    const int left = (video_->width - pictureWidth_) / 2 & ~1, top = (video_->height - pictureHeight_) / 2 & ~1;
    uint8_t* planes[4] = {};
    for (int plane = 0; plane < 4 && picture_->data[plane]; ++plane) {
        const bool colour = video_->pix_fmt == AV_PIX_FMT_YUV420P && plane > 0;
        const int bytes = plane == 0 && video_->pix_fmt == AV_PIX_FMT_BGR0 ? 4 : 1;
        planes[plane] = picture_->data[plane] + (colour ? top / 2 : top) * picture_->linesize[plane] +
                        (colour ? left / 2 : left) * bytes;
    }
    if (left > 0 || top > 0) {
        const ptrdiff_t lines[4] = {picture_->linesize[0], picture_->linesize[1], picture_->linesize[2],
                                    picture_->linesize[3]};
        av_image_fill_black(picture_->data, lines, video_->pix_fmt, video_->color_range, video_->width,
                            video_->height);
    }
    const uint8_t* source[1] = {image.pixels};
    const int strides[1] = {image.width * 4};
    sws_scale(scaler_, source, strides, 0, image.height, planes, picture_->linesize);
}

// The music up to `endSample` converted into the queue; without `music`, what
// the converter still holds.
bool VideoWriter::convertMusic(MusicSource* music, int64_t endSample, std::string& error) {
    do {
        const int input = music ? static_cast<int>(std::min<int64_t>(endSample - musicRead_, 4096)) : 0;
        if (music && input <= 0) return true;
        interleaved_.resize(2 * static_cast<size_t>(std::max(input, 1)));
        if (music) music->render(interleaved_.data(), static_cast<size_t>(input));
        musicRead_ += input;
        if (!convertBlock(music ? interleaved_.data() : nullptr, input, error)) return false;
    } while (music);
    return true;
}

bool VideoWriter::convertBlock(const float* interleaved, int frames, std::string& error) {
    const int room = swr_get_out_samples(converter_, frames);
    if (room <= 0) return true;
    uint8_t** out = nullptr;
    int code = av_samples_alloc_array_and_samples(&out, nullptr, 2, room, audio_->sample_fmt, 0);
    if (code >= 0) {
        const uint8_t* in[1] = {reinterpret_cast<const uint8_t*>(interleaved)};
        code = swr_convert(converter_, out, room, interleaved ? in : nullptr, frames);
        if (code > 0 && av_audio_fifo_write(converted_, reinterpret_cast<void**>(out), code) < code)
            code = AVERROR(ENOMEM);
        av_freep(&out[0]);
    }
    av_freep(&out);
    if (code < 0) return failed("cannot convert the music for", code, error);
    return true;
}

bool VideoWriter::writeAudio(int samples, std::string& error) {
    int code = av_frame_make_writable(sound_);
    if (code < 0) return failed("cannot make sound frames for", code, error);
    sound_->nb_samples = samples;
    const int queued = std::min(samples, av_audio_fifo_size(converted_));
    av_audio_fifo_read(converted_, reinterpret_cast<void**>(sound_->data), queued);
    if (queued < samples)  // the end of the track: silence fills the last frame
        av_samples_set_silence(sound_->data, queued, samples - queued, 2, audio_->sample_fmt);
    sound_->pts = samplesWritten_;
    samplesWritten_ += samples;
    return sendFrame(audio_, audioStream_, sound_, error);
}

bool VideoWriter::encodeWholeFrames(std::string& error) {
    while (av_audio_fifo_size(converted_) >= audioFrameSize())
        if (!writeAudio(audioFrameSize(), error)) return false;
    return true;
}

bool VideoWriter::writeAudioUntil(MusicSource& music, int64_t endSample, std::string& error) {
    if (!audio_) return true;
    return convertMusic(&music, endSample, error) && encodeWholeFrames(error);
}

bool VideoWriter::finish(MusicSource& music, int64_t totalSamples, std::string& error) {
    if (audio_ && !finishAudio(music, totalSamples, error)) return false;
    return sendFrame(video_, videoStream_, nullptr, error) && completeFile(error);
}

// The track ends with the last picture: `totalSamples` of the music, at the
// encoder's rate. The short rest is a last frame of its own where the encoder
// takes one; otherwise the track runs on by less than a frame.
bool VideoWriter::finishAudio(MusicSource& music, int64_t totalSamples, std::string& error) {
    if (!convertMusic(&music, totalSamples, error) || !convertMusic(nullptr, 0, error)) return false;
    const int64_t total = av_rescale(totalSamples, audio_->sample_rate, music.rate());
    while (samplesWritten_ + audioFrameSize() <= total)
        if (!writeAudio(audioFrameSize(), error)) return false;
    const int rest = static_cast<int>(total - samplesWritten_);
    if (rest > 0) {
        const bool smallLast = (audio_->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME) != 0;
        if (!writeAudio(smallLast ? rest : audioFrameSize(), error)) return false;
    }
    return sendFrame(audio_, audioStream_, nullptr, error);
}

// The trailer, then every byte out to the disk: a full disk shows here at the latest.
bool VideoWriter::completeFile(std::string& error) {
    int code = av_write_trailer(container_);
    headerWritten_ = false;
    if (code < 0) return failed("cannot write", code, error);
    avio_flush(container_->pb);
    if (container_->pb->error < 0) return failed("cannot write", container_->pb->error, error);
    code = avio_closep(&container_->pb);
    if (code < 0) return failed("cannot write", code, error);
    return true;
}
