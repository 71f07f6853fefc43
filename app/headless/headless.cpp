// --render: the show with the virtual clock, as frame hashes or raw frames.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "shell/show_run.h"
#include "shell/stdio_messages.h"
#include "app/cli/progress_line.h"
#include "app/cli/runners.h"
#include "verify/frame_table.h"

namespace {

class HeadlessSink : public headless::FrameSink {
public:
    HeadlessSink(bool hash, FILE* raw, int64_t totalFrames, int fps)
        : hash_(hash), raw_(raw), progressLine_(totalFrames, fps) {}

    bool frame(const headless::FrameInfo& info) override {
        const Image& image = info.image;
        size_t size = static_cast<size_t>(image.count()) * 4;
        if (hash_) {
            const verify::FrameLine line = verify::hashFrame(info.index, info.milliseconds, info.scene, image.pixels, size);
            std::printf("%s\n", verify::frameLineText(line).c_str());
        }
        if (raw_ && std::fwrite(image.pixels, 1, size, raw_) != size) {
            writeError_ = errno;
            return false;
        }
        return true;
    }
    void progress(int64_t done, int64_t) override { progressLine_.update(done); }

    int writeError() const { return writeError_; }
    void finishProgress() { progressLine_.finish(); }

private:
    bool hash_;
    FILE* raw_;
    ProgressLine progressLine_;
    int writeError_ = 0;
};

// Reports a raw file that could not be written. A file this run created and
// only partly wrote is removed; devices and pipes are left alone.
int failRaw(const Options& options, FILE* raw, bool created, int error) {
    if (raw) std::fclose(raw);
    std::error_code ignored;
    if (created && std::filesystem::is_regular_file(options.rawFile, ignored)) std::remove(options.rawFile.c_str());
    std::fprintf(stderr, "vokdemo: cannot write '%s': %s\n", options.rawFile.c_str(), std::strerror(error));
    return 2;
}

}  // namespace

int runHeadless(const Options& options) {
    StdioMessages messages;
    headless::ShowRun run(options.fps, options.t0, ShowContext(messages, DataFolder(options.dataDir)));
    if (run.startFailure()) return run.startFailure();  // a missing mesh: its message is out
    FILE* raw = nullptr;
    if (!options.rawFile.empty()) {
        raw = std::fopen(options.rawFile.c_str(), "wb");
        if (!raw) return failRaw(options, nullptr, false, errno);
    }
    headless::FrameRange range;
    if (options.hasFrameRange) range = {options.firstFrame, options.lastFrame};

    HeadlessSink sink(options.hash, raw, headless::expectedFrameCount(options.fps), options.fps);
    headless::RunEnd end = headless::renderShow(run, range, sink);
    sink.finishProgress();
    std::fflush(stdout);

    if (end == headless::RunEnd::Stopped) return failRaw(options, raw, true, sink.writeError());
    if (raw && std::fclose(raw) != 0) return failRaw(options, nullptr, true, errno);
    if (end == headless::RunEnd::Overran) {
        std::fprintf(stderr, "vokdemo: the show did not end within %u s of show time\n",
                     headless::ShowRun::timeLimitMs / 1000);
        return 2;
    }
    return 0;
}
