// --capture, --png, --wav, --poster: the show rendered with the virtual clock
// into a video with its music or a GIF, into PNG pictures, its music alone
// into a WAV file, or one picture; the whole show or a clip of it.
#include <cctype>
#include <cinttypes>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/capture/capture_clip.h"
#include "app/capture/capture_files.h"
#include "app/capture/capture_music.h"
#include "app/capture/capture_palette.h"
#include "media/png_writer.h"
#include "app/cli/progress_line.h"
#include "app/capture/capture_video.h"
#include "app/capture/capture_wav.h"
#include "shell/show_run.h"
#include "shell/stdio_messages.h"
#include "demo/data_files.h"
#include "demo/scenes.h"
#include "app/cli/runners.h"

namespace {

// Bad options end with 2, an output that cannot be written with 1.
int fail(const std::string& message, int code = 2) {
    std::fprintf(stderr, "vokdemo: %s\n", message.c_str());
    return code;
}
int failWriting(const std::string& message) { return fail(message, 1); }

void warn(const std::string& message) { std::fprintf(stderr, "vokdemo: %s\n", message.c_str()); }

// The first sample of the music after frame k: the audio track starts with
// frame 0 and frame k is shown from k / fps seconds on.
int64_t samplesBefore(int64_t frame, int fps) { return frame * MusicSource::sampleRate / fps; }

// A clip's music starts at the sample of its first frame: the samples before
// it are rendered and dropped, so that they are those of the whole capture.
void skipMusic(MusicSource& music, int64_t samples) {
    std::vector<float> dropped(2 * 4096);
    for (int64_t left = samples; left > 0; left -= 4096)
        music.render(dropped.data(), static_cast<size_t>(std::min<int64_t>(left, 4096)));
}

bool hasPngExtension(const std::string& path) {
    std::string end = path.size() >= 4 ? path.substr(path.size() - 4) : "";
    for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return end == ".png";
}

struct VideoOutput {
    explicit VideoOutput(const std::string& modulePath) : music(modulePath) {}
    VideoFormat format;
    std::unique_ptr<PartialFile> file;
    VideoWriter writer;
    MusicSource music;
};

struct WavOutput {
    explicit WavOutput(const std::string& modulePath) : music(modulePath) {}
    std::unique_ptr<PartialFile> file;
    WavWriter writer;
    MusicSource music;
    std::vector<int16_t> buffer;

    bool writeUntil(int64_t endSample, std::string& error) {
        while (writer.framesWritten() < endSample) {
            size_t frames = static_cast<size_t>(std::min<int64_t>(endSample - writer.framesWritten(), 4096));
            buffer.resize(frames * 2);
            music.render(buffer.data(), frames);
            if (!writer.write(buffer.data(), frames, error)) return false;
        }
        return true;
    }
};

// The poster: one frame as a PNG picture, complete or not there at all.
struct PosterOutput {
    int64_t frame = 0;
    PartialFile file;
    PngFrameWriter writer;

    PosterOutput(const std::string& path, int scale) : file(path), writer("", scale) {}
    bool write(const Image& image, std::string& error) {
        return writer.writeFile(image, file.path(), file.finalPath(), error) && file.commit(error);
    }
};

// The first pass of a GIF: the colours of the clip's frames. It stops the
// run after the clip's last frame.
class PaletteSink : public headless::FrameSink {
public:
    PaletteSink(ClipPalette& palette, const Clip& clip) : palette_(palette), clip_(clip) {}
    bool frame(const headless::FrameInfo& info) override {
        palette_.count(info.image);
        return info.index < clip_.last;
    }

private:
    ClipPalette& palette_;
    const Clip& clip_;
};

bool makePalette(ClipPalette& palette, const Clip& clip, const Options& options, const DataFolder& data) {
    MessageLog quiet;  // the main run prints the mesh reader's text
    headless::ShowRun run(options.fps, options.t0, ShowContext(quiet, data));
    if (run.startFailure()) return false;
    PaletteSink sink(palette, clip);
    headless::renderShow(run, headless::FrameRange{clip.first, clip.last}, sink);
    palette.make();
    return true;
}

class CaptureSink : public headless::FrameSink {
public:
    CaptureSink(const Clip& clip, VideoOutput* video, WavOutput* wav, PngFrameWriter* png,
                headless::FrameRange pngRange, PosterOutput* poster, ProgressLine& progress)
        : clip_(clip), video_(video), wav_(wav), png_(png), pngRange_(pngRange), poster_(poster),
          progress_(progress) {}

    bool frame(const headless::FrameInfo& info) override {
        if (poster_ && info.index == poster_->frame && !poster_->write(info.image, error_)) return false;
        if (!clip_.contains(info.index)) return true;
        // The clip's own time: its first frame and first sample at zero.
        const int64_t audioEnd = samplesBefore(info.index + 1, clip_.fps) - samplesBefore(clip_.first, clip_.fps);
        if (video_ && !(video_->writer.writeFrame(info.image, info.index - clip_.first, error_) &&
                        video_->writer.writeAudioUntil(video_->music, audioEnd, error_)))
            return false;
        if (wav_ && !wav_->writeUntil(audioEnd, error_)) return false;
        if (png_ && pngRange_.contains(info.index) && !png_->write(info.image, info.index, error_)) return false;
        if (png_) pngWritten_ += pngRange_.contains(info.index);
        return true;
    }
    void progress(int64_t done, int64_t) override { progress_.update(done); }

    const std::string& error() const { return error_; }
    int64_t pngWritten() const { return pngWritten_; }

private:
    const Clip& clip_;
    VideoOutput* video_;
    WavOutput* wav_;
    PngFrameWriter* png_;
    headless::FrameRange pngRange_;
    PosterOutput* poster_;
    ProgressLine& progress_;
    std::string error_;
    int64_t pngWritten_ = 0;
};

void warnAboutMusic(const MusicSource& music) {
    if (!music.loaded()) std::fprintf(stderr, "vokdemo: %s; the audio track is silent\n", music.problem().c_str());
}

// "vokdemo: wrote show.mp4: 5959 frames at 60 fps, 640x480, ..."; a clip
// says where it lies in the show.
std::string summary(const Options& options, const Clip& clip, int64_t pngFrames, double seconds) {
    char line[768];
    if (options.captureFile.empty() && options.pngDir.empty() && options.wavFile.empty()) {
        const int64_t frame = posterFrame(options, clip);
        std::snprintf(line, sizeof line, "vokdemo: wrote %s: frame %" PRId64 " (%.3f s of show), %dx%d",
                      options.posterFile.c_str(), frame, static_cast<double>(frame) / options.fps,
                      320 * options.scale, 240 * options.scale);
        return line;
    }
    double showSeconds = static_cast<double>(clip.frames()) / options.fps;
    std::string written;
    auto add = [&](const std::string& part) { written += (written.empty() ? "" : ", ") + part; };
    if (!options.captureFile.empty()) add(options.captureFile);
    if (!options.pngDir.empty()) add(std::to_string(pngFrames) + " pictures in " + options.pngDir);
    if (!options.wavFile.empty()) add(options.wavFile);
    if (!options.posterFile.empty()) add(options.posterFile);
    char part[160] = "";
    if (options.scene >= 0)
        std::snprintf(part, sizeof part, " (scene %d, %s, from %.3f s)", options.scene, sceneName(options.scene),
                      static_cast<double>(clip.first) / options.fps);
    else if (options.hasFrom || options.hasTo)
        std::snprintf(part, sizeof part, " (from %.3f s)", static_cast<double>(clip.first) / options.fps);
    std::snprintf(line, sizeof line,
                  "vokdemo: wrote %s: %" PRId64
                  " frames%s at %d fps, %dx%d, %.3f s of show in %.1f s (%.1fx real time)",
                  written.c_str(), clip.frames(), part, options.fps, 320 * options.scale, 240 * options.scale,
                  showSeconds, seconds, seconds > 0 ? showSeconds / seconds : 0.0);
    return line;
}

// A GIF's delays are whole hundredths of a second, and browsers slow down
// delays under 2; a long GIF grows large.
void warnAboutGif(const Options& options, const Clip& clip) {
    if (options.fps > 50 || 100 % options.fps != 0)
        warn("a GIF at " + std::to_string(options.fps) +
             " fps plays unevenly (its delays are hundredths of a second); --fps 50, 25, 20 or 10 play evenly");
    const double seconds = static_cast<double>(clip.frames()) / options.fps;
    if (seconds > 30) {
        char line[200];
        std::snprintf(line, sizeof line,
                      "a GIF of %.1f s of the show makes a large file (the whole show: 38 MB at 25 fps, scale 1); "
                      "--scene or --from and --to make a short clip",
                      seconds);
        warn(line);
    }
}

}  // namespace

int runCapture(const Options& options) {
    const bool wantVideo = !options.captureFile.empty(), wantPng = !options.pngDir.empty(),
               wantWav = !options.wavFile.empty(), wantPoster = !options.posterFile.empty();
    const bool clipAsked = options.hasFrom || options.hasTo || options.scene >= 0;
    if (options.hasFrameRange && !wantPng) return fail("--frames limits the PNG pictures; use it with --png");
    if (options.hasFrameRange && clipAsked)
        return fail("--frames and --from, --to or --scene both choose the frames; give one of them");
    if (wantPoster && !hasPngExtension(options.posterFile))
        return fail("the poster is a PNG picture: name it .png, not '" + options.posterFile + "'");

    // Everything that can be checked without the show is checked first.
    StdioMessages messages;
    const ShowContext context(messages, DataFolder(options.dataDir));
    Clip clip;
    std::string error;
    if (!chooseClip(options, options.fps, clip, error)) return fail(error);
    std::unique_ptr<VideoOutput> video;
    if (wantVideo) {
        video = std::make_unique<VideoOutput>(context.data.path(moduleFile));
        if (!chooseVideoFormat(options.captureFile, options.lossless, video->format, error)) return fail(error);
    }
    removePartialFilesOnSignals();
    std::unique_ptr<ClipPalette> palette;
    if (video && video->format.paletted()) {
        warnAboutGif(options, clip);
        palette = std::make_unique<ClipPalette>();
        makePalette(*palette, clip, options, context.data);  // a show that cannot start says so below
    }
    headless::ShowRun run(options.fps, options.t0, context);
    if (run.startFailure()) return run.startFailure();  // a missing mesh: its message is out

    // The outputs, once every asset has loaded.
    const int64_t firstSample = samplesBefore(clip.first, options.fps);
    if (video) {
        if (!video->format.audioEncoder.empty()) warnAboutMusic(video->music);
        skipMusic(video->music, firstSample);
        video->file = std::make_unique<PartialFile>(options.captureFile);
        video->writer.setChapters(clipChapters(clip));
        video->writer.setPalette(palette.get());
        if (!video->writer.open(video->file->path(), options.captureFile, video->format, options.scale, options.fps,
                                error))
            return failWriting(error);
    }
    std::unique_ptr<WavOutput> wav;
    if (wantWav) {
        wav = std::make_unique<WavOutput>(context.data.path(moduleFile));
        if (!video || video->format.audioEncoder.empty()) warnAboutMusic(wav->music);
        skipMusic(wav->music, firstSample);
        wav->file = std::make_unique<PartialFile>(options.wavFile);
        if (!wav->writer.open(wav->file->path(), options.wavFile, MusicSource::sampleRate, error))
            return failWriting(error);
    }
    std::unique_ptr<PngFrameWriter> png;
    headless::FrameRange pngRange;
    if (wantPng) {
        png = std::make_unique<PngFrameWriter>(options.pngDir, options.scale);
        if (!png->prepareDirectory(error)) return failWriting(error);
        if (options.hasFrameRange) pngRange = {options.firstFrame, options.lastFrame};
    }
    std::unique_ptr<PosterOutput> poster;
    if (wantPoster) {
        poster = std::make_unique<PosterOutput>(options.posterFile, options.scale);
        poster->frame = posterFrame(options, clip);
    }

    ProgressLine progress(headless::expectedFrameCount(options.fps), options.fps);
    CaptureSink sink(clip, video.get(), wav.get(), png.get(), pngRange, poster.get(), progress);
    headless::RunEnd end = headless::renderShow(run, headless::FrameRange{}, sink);
    progress.finish();
    if (end == headless::RunEnd::Stopped) return failWriting(sink.error());
    if (end == headless::RunEnd::Overran) return fail("the show did not end");

    // The music runs to the end of the clip: the end of its last frame.
    const int64_t totalSamples = samplesBefore(clip.last + 1, options.fps) - firstSample;
    if (video && !(video->writer.finish(video->music, totalSamples, error) && video->file->commit(error)))
        return failWriting(error);
    if (wav && !(wav->writeUntil(totalSamples, error) && wav->writer.close(error) && wav->file->commit(error)))
        return failWriting(error);
    std::fprintf(stderr, "%s\n", summary(options, clip, sink.pngWritten(), progress.elapsedSeconds()).c_str());
    return 0;
}
