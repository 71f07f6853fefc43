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

// The first sample at `rate` after frame k: the audio track starts with
// frame 0 and frame k is shown from k / fps seconds on.
int64_t samplesBefore(int64_t frame, int fps, int rate) { return frame * rate / fps; }

// The samples at `rate` of the clip's music up to the end of frame `last`:
// the clip's own time, its first frame and first sample at zero.
int64_t clipSamplesThrough(const Clip& clip, int64_t last, int rate) {
    return samplesBefore(last + 1, clip.fps, rate) - samplesBefore(clip.first, clip.fps, rate);
}

// A clip's music starts at the sample of its first frame: the samples before
// it are rendered and dropped, so that they are those of the whole capture.
void skipMusic(MusicSource& music, const Clip& clip) {
    std::vector<float> dropped(2 * 4096);
    for (int64_t left = samplesBefore(clip.first, clip.fps, music.rate()); left > 0; left -= 4096)
        music.render(dropped.data(), static_cast<size_t>(std::min<int64_t>(left, 4096)));
}

bool hasPngExtension(const std::string& path) {
    std::string end = path.size() >= 4 ? path.substr(path.size() - 4) : "";
    for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return end == ".png";
}

struct VideoOutput {
    VideoOutput(const std::string& modulePath, const VideoFormat& videoFormat)
        : format(videoFormat), music(modulePath, musicRate(videoFormat)) {}
    VideoFormat format;
    std::unique_ptr<ClipPalette> palette;  // a GIF's
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

struct PngOutput {
    PngOutput(const std::string& directory, int scale) : writer(directory, scale) {}
    PngFrameWriter writer;
    headless::FrameRange range;  // --frames, else every frame of the clip
};

// The poster: one frame as a PNG picture, complete or not there at all.
struct PosterOutput {
    int64_t frame = 0;
    PartialFile file;
    PngFrameWriter writer;

    PosterOutput(const std::string& path, int scale, int64_t posterFrame)
        : frame(posterFrame), file(path), writer("", scale) {}
    bool write(const Image& image, std::string& error) {
        return writer.writeFile(image, file.path(), file.finalPath(), error) && file.commit(error);
    }
};

// Everything one capture writes; each output is there when asked for.
struct CaptureOutputs {
    std::unique_ptr<VideoOutput> video;
    std::unique_ptr<WavOutput> wav;
    std::unique_ptr<PngOutput> png;
    std::unique_ptr<PosterOutput> poster;
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

// Hands each frame of the clip, and the music up to its end, to the outputs.
class CaptureSink : public headless::FrameSink {
public:
    CaptureSink(const Clip& clip, CaptureOutputs& outputs, ProgressLine& progress)
        : clip_(clip), outputs_(outputs), progress_(progress) {}

    bool frame(const headless::FrameInfo& info) override {
        PosterOutput* poster = outputs_.poster.get();
        if (poster && info.index == poster->frame && !poster->write(info.image, error_)) return false;
        if (!clip_.contains(info.index)) return true;
        if (VideoOutput* video = outputs_.video.get()) {
            const int64_t audioEnd = clipSamplesThrough(clip_, info.index, video->music.rate());
            if (!video->writer.writeFrame(info.image, info.index - clip_.first, error_) ||
                !video->writer.writeAudioUntil(video->music, audioEnd, error_))
                return false;
        }
        WavOutput* wav = outputs_.wav.get();
        if (wav && !wav->writeUntil(clipSamplesThrough(clip_, info.index, wav->music.rate()), error_)) return false;
        PngOutput* png = outputs_.png.get();
        return !png || !png->range.contains(info.index) || png->writer.write(info.image, info.index, error_);
    }
    void progress(int64_t done, int64_t) override { progress_.update(done); }

    const std::string& error() const { return error_; }

private:
    const Clip& clip_;
    CaptureOutputs& outputs_;
    ProgressLine& progress_;
    std::string error_;
};

void warnAboutMusic(const MusicSource& music) {
    if (!music.loaded()) std::fprintf(stderr, "vokdemo: %s; the audio track is silent\n", music.problem().c_str());
}

// The PNG pictures a capture writes: the frames of the clip within --frames.
int64_t pngFrames(const Clip& clip, const headless::FrameRange& range) {
    return std::max<int64_t>(0, std::min(clip.last, range.last) - std::max(clip.first, range.first) + 1);
}

// "640x480", or a preset's "1920x1080 (the picture x4 in the middle)".
std::string sizeText(const Options& options, const CaptureOutputs& outputs) {
    const int width = screenWidth * options.scale, height = screenHeight * options.scale;
    const VideoPreset* preset = outputs.video ? outputs.video->format.preset : nullptr;
    if (!preset) return std::to_string(width) + "x" + std::to_string(height);
    return std::to_string(preset->width) + "x" + std::to_string(preset->height) + " (the picture x" +
           std::to_string(options.scale) + " in the middle)";
}

// "vokdemo: wrote show.mp4: 5959 frames at 60 fps, 640x480, ..."; a clip
// says where it lies in the show.
std::string summary(const Options& options, const Clip& clip, const CaptureOutputs& outputs, double seconds) {
    char line[768];
    if (options.captureFile.empty() && options.pngDir.empty() && options.wavFile.empty()) {
        const int64_t frame = posterFrame(options, clip);
        std::snprintf(line, sizeof line, "vokdemo: wrote %s: frame %" PRId64 " (%.3f s of show), %dx%d",
                      options.posterFile.c_str(), frame, static_cast<double>(frame) / options.fps,
                      screenWidth * options.scale, screenHeight * options.scale);
        return line;
    }
    double showSeconds = static_cast<double>(clip.frames()) / options.fps;
    std::string written;
    auto add = [&](const std::string& part) { written += (written.empty() ? "" : ", ") + part; };
    if (!options.captureFile.empty()) add(options.captureFile);
    if (outputs.png) add(std::to_string(pngFrames(clip, outputs.png->range)) + " pictures in " + options.pngDir);
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
                  " frames%s at %d fps, %s, %.3f s of show in %.1f s (%.1fx real time)",
                  written.c_str(), clip.frames(), part, options.fps, sizeText(options, outputs).c_str(), showSeconds, seconds, seconds > 0 ? showSeconds / seconds : 0.0);
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

// Options that contradict each other: why, or empty.
std::string refusal(const Options& options) {
    const bool clipAsked = options.hasFrom || options.hasTo || options.scene >= 0;
    if (options.hasFrameRange && options.pngDir.empty()) return "--frames limits the PNG pictures; use it with --png";
    if (options.hasFrameRange && clipAsked)
        return "--frames and --from, --to or --scene both choose the frames; give one of them";
    if (!options.posterFile.empty() && !hasPngExtension(options.posterFile))
        return "the poster is a PNG picture: name it .png, not '" + options.posterFile + "'";
    return "";
}

// What the video needs before the show: its format and, for a GIF, the
// palette of the clip (a pass of its own over the show).
bool prepareVideo(const Options& options, const ShowContext& context, const Clip& clip, CaptureOutputs& outputs,
                  std::string& error) {
    if (options.captureFile.empty()) return true;
    VideoFormat format;
    const VideoPreset* preset = options.preset.empty() ? nullptr : findVideoPreset(options.preset.c_str());
    if (!chooseVideoFormat(options.captureFile, options.lossless, preset, format, error)) return false;
    outputs.video = std::make_unique<VideoOutput>(context.data.path(moduleFile), format);
    if (format.paletted()) {
        warnAboutGif(options, clip);
        outputs.video->palette = std::make_unique<ClipPalette>();
        makePalette(*outputs.video->palette, clip, options, context.data);  // a show that cannot start says so later
    }
    return true;
}

bool openVideo(VideoOutput& video, const Options& options, const Clip& clip, std::string& error) {
    if (!video.format.audioEncoder.empty()) warnAboutMusic(video.music);
    skipMusic(video.music, clip);
    video.file = std::make_unique<PartialFile>(options.captureFile);
    video.writer.setChapters(clipChapters(clip));
    video.writer.setPalette(video.palette.get());
    return video.writer.open(video.file->path(), options.captureFile, video.format, options.scale, options.fps,
                             video.music.rate(), error);
}

bool openWav(CaptureOutputs& outputs, const Options& options, const ShowContext& context, const Clip& clip,
             std::string& error) {
    outputs.wav = std::make_unique<WavOutput>(context.data.path(moduleFile));
    WavOutput& wav = *outputs.wav;
    const bool videoWarned = outputs.video && !outputs.video->format.audioEncoder.empty();
    if (!videoWarned) warnAboutMusic(wav.music);
    skipMusic(wav.music, clip);
    wav.file = std::make_unique<PartialFile>(options.wavFile);
    return wav.writer.open(wav.file->path(), options.wavFile, wav.music.rate(), error);
}

// The outputs, opened once every asset has loaded.
bool openOutputs(CaptureOutputs& outputs, const Options& options, const ShowContext& context, const Clip& clip,
                 std::string& error) {
    if (outputs.video && !openVideo(*outputs.video, options, clip, error)) return false;
    if (!options.wavFile.empty() && !openWav(outputs, options, context, clip, error)) return false;
    if (!options.pngDir.empty()) {
        outputs.png = std::make_unique<PngOutput>(options.pngDir, options.scale);
        if (!outputs.png->writer.prepareDirectory(error)) return false;
        if (options.hasFrameRange) outputs.png->range = {options.firstFrame, options.lastFrame};
    }
    if (!options.posterFile.empty())
        outputs.poster = std::make_unique<PosterOutput>(options.posterFile, options.scale, posterFrame(options, clip));
    return true;
}

// The music runs to the end of the clip: the end of its last frame.
bool finishOutputs(CaptureOutputs& outputs, const Clip& clip, std::string& error) {
    if (VideoOutput* video = outputs.video.get()) {
        const int64_t samples = clipSamplesThrough(clip, clip.last, video->music.rate());
        if (!video->writer.finish(video->music, samples, error) || !video->file->commit(error)) return false;
    }
    if (WavOutput* wav = outputs.wav.get()) {
        const int64_t samples = clipSamplesThrough(clip, clip.last, wav->music.rate());
        if (!wav->writeUntil(samples, error) || !wav->writer.close(error) || !wav->file->commit(error)) return false;
    }
    return true;
}

}  // namespace

int runCapture(const Options& options) {
    const std::string refused = refusal(options);
    if (!refused.empty()) return fail(refused);
    // Everything that can be checked without the show is checked first.
    StdioMessages messages;
    const ShowContext context(messages, DataFolder(options.dataDir));
    Clip clip;
    CaptureOutputs outputs;
    std::string error;
    if (!chooseClip(options, options.fps, clip, error) || !prepareVideo(options, context, clip, outputs, error))
        return fail(error);
    removePartialFilesOnSignals();
    headless::ShowRun run(options.fps, options.t0, context);
    if (run.startFailure()) return run.startFailure();  // a missing mesh: its message is out
    if (!openOutputs(outputs, options, context, clip, error)) return failWriting(error);

    ProgressLine progress(headless::expectedFrameCount(options.fps), options.fps);
    CaptureSink sink(clip, outputs, progress);
    const headless::RunEnd end = headless::renderShow(run, headless::FrameRange{}, sink);
    progress.finish();
    if (end == headless::RunEnd::Stopped) return failWriting(sink.error());
    if (end == headless::RunEnd::Overran) return fail("the show did not end");
    if (!finishOutputs(outputs, clip, error)) return failWriting(error);
    std::fprintf(stderr, "%s\n", summary(options, clip, outputs, progress.elapsedSeconds()).c_str());
    return 0;
}
