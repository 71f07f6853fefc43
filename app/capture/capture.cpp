// --capture, --png, --wav: the show rendered with the virtual clock into a
// video with its music, into PNG pictures, or its music alone into a WAV file.
#include <cinttypes>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/capture/capture_files.h"
#include "app/capture/capture_music.h"
#include "app/capture/capture_png.h"
#include "app/cli/progress_line.h"
#include "app/capture/capture_video.h"
#include "app/capture/capture_wav.h"
#include "app/shell/show_run.h"
#include "app/shell/stdio_messages.h"
#include "app/cli/runners.h"
#include "platform/platform.h"

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "vokdemo: %s\n", message.c_str());
    return 2;
}

// The first sample of the music after frame k: the audio track starts with
// frame 0 and frame k is shown from k / fps seconds on.
int64_t samplesBefore(int64_t frame, int fps) { return frame * MusicSource::sampleRate / fps; }

struct VideoOutput {
    VideoFormat format;
    std::unique_ptr<PartialFile> file;
    VideoWriter writer;
    MusicSource music;
};

struct WavOutput {
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

class CaptureSink : public headless::FrameSink {
public:
    CaptureSink(int fps, VideoOutput* video, WavOutput* wav, PngFrameWriter* png, headless::FrameRange pngRange,
                ProgressLine& progress)
        : fps_(fps), video_(video), wav_(wav), png_(png), pngRange_(pngRange), progress_(progress) {}

    bool frame(const headless::FrameInfo& info) override {
        int64_t audioEnd = samplesBefore(info.index + 1, fps_);
        if (video_ && !(video_->writer.writeFrame(info.image, info.index, error_) &&
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
    int fps_;
    VideoOutput* video_;
    WavOutput* wav_;
    PngFrameWriter* png_;
    headless::FrameRange pngRange_;
    ProgressLine& progress_;
    std::string error_;
    int64_t pngWritten_ = 0;
};

void warnAboutMusic(const MusicSource& music) {
    if (!music.loaded()) std::fprintf(stderr, "vokdemo: %s; the audio track is silent\n", music.problem().c_str());
}

std::string summary(const Options& options, int64_t frames, int64_t pngFrames, double seconds) {
    double showSeconds = static_cast<double>(frames) / options.fps;
    std::string written;
    auto add = [&](const std::string& part) { written += (written.empty() ? "" : ", ") + part; };
    if (!options.captureFile.empty()) add(options.captureFile);
    if (!options.pngDir.empty()) add(std::to_string(pngFrames) + " pictures in " + options.pngDir);
    if (!options.wavFile.empty()) add(options.wavFile);
    char line[512];
    std::snprintf(line, sizeof line,
                  "vokdemo: wrote %s: %" PRId64 " frames at %d fps, %dx%d, %.3f s of show in %.1f s (%.1fx real time)",
                  written.c_str(), frames, options.fps, 320 * options.scale, 240 * options.scale, showSeconds, seconds,
                  seconds > 0 ? showSeconds / seconds : 0.0);
    return line;
}

}  // namespace

int runCapture(const Options& options) {
    const bool wantVideo = !options.captureFile.empty(), wantPng = !options.pngDir.empty(),
               wantWav = !options.wavFile.empty();
    if (options.hasFrameRange && !wantPng) return fail("--frames limits the PNG pictures; use it with --png");

    // Everything that can be checked without the show is checked first.
    platform::setDataDirectory(options.dataDir);
    std::unique_ptr<VideoOutput> video;
    std::string error;
    if (wantVideo) {
        video = std::make_unique<VideoOutput>();
        if (!chooseVideoFormat(options.captureFile, options.lossless, video->format, error)) return fail(error);
    }
    removePartialFilesOnSignals();
    StdioMessages messages;
    headless::ShowRun run(options.fps, options.t0, messages);
    if (run.startFailure()) return run.startFailure();  // a missing mesh: its message is out

    // The outputs, once every asset has loaded.
    if (video) {
        warnAboutMusic(video->music);
        video->file = std::make_unique<PartialFile>(options.captureFile);
        if (!video->writer.open(video->file->path(), options.captureFile, video->format, options.scale, options.fps,
                                error))
            return fail(error);
    }
    std::unique_ptr<WavOutput> wav;
    if (wantWav) {
        wav = std::make_unique<WavOutput>();
        if (!video) warnAboutMusic(wav->music);
        wav->file = std::make_unique<PartialFile>(options.wavFile);
        if (!wav->writer.open(wav->file->path(), options.wavFile, MusicSource::sampleRate, error)) return fail(error);
    }
    std::unique_ptr<PngFrameWriter> png;
    headless::FrameRange pngRange;
    if (wantPng) {
        png = std::make_unique<PngFrameWriter>(options.pngDir, options.scale);
        if (!png->prepareDirectory(error)) return fail(error);
        if (options.hasFrameRange) pngRange = {options.firstFrame, options.lastFrame};
    }

    ProgressLine progress(headless::expectedFrameCount(options.fps), options.fps);
    CaptureSink sink(options.fps, video.get(), wav.get(), png.get(), pngRange, progress);
    headless::RunEnd end = headless::renderShow(run, headless::FrameRange{}, sink);
    progress.finish();
    if (end == headless::RunEnd::Stopped) return fail(sink.error());
    if (end == headless::RunEnd::Overran) return fail("the show did not end");

    // The music runs to the end of the show: the end of the last frame.
    const int64_t frames = run.frame() + 1;
    const int64_t totalSamples = samplesBefore(frames, options.fps);
    if (video && !(video->writer.finish(video->music, totalSamples, error) && video->file->commit(error)))
        return fail(error);
    if (wav && !(wav->writeUntil(totalSamples, error) && wav->writer.close(error) && wav->file->commit(error)))
        return fail(error);
    std::fprintf(stderr, "%s\n", summary(options, frames, sink.pngWritten(), progress.elapsedSeconds()).c_str());
    return 0;
}
