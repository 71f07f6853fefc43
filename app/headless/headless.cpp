// --render: the show with the virtual clock, as frame hashes or raw frames
// (to a file, or to standard output for another program to read).
#include <unistd.h>

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

bool rawToStdout(const Options& options) { return options.rawFile == "-"; }

// Reports a raw file that could not be written. A file this run created and
// only partly wrote is removed; devices and pipes are left alone.
int failRaw(const Options& options, FILE* raw, bool created, int error) {
    if (raw && raw != stdout) std::fclose(raw);
    std::error_code ignored;
    if (created && !rawToStdout(options) && std::filesystem::is_regular_file(options.rawFile, ignored))
        std::remove(options.rawFile.c_str());
    const std::string name = rawToStdout(options) ? "standard output" : "'" + options.rawFile + "'";
    std::fprintf(stderr, "vokdemo: cannot write %s: %s\n", name.c_str(), std::strerror(error));
    return 2;
}

// The stream the frames go to: the file named, or standard output for "-".
// Null, with the reason said, when the file cannot be made.
FILE* openRaw(const Options& options) {
    if (rawToStdout(options)) return stdout;
    FILE* raw = std::fopen(options.rawFile.c_str(), "wb");
    if (!raw) failRaw(options, nullptr, false, errno);
    return raw;
}

bool closeRaw(FILE* raw) { return raw == stdout ? std::fflush(raw) == 0 && !std::ferror(raw) : std::fclose(raw) == 0; }

}  // namespace

int runHeadless(const Options& options) {
    // Binary frames would only garble a terminal.
    if (rawToStdout(options) && isatty(STDOUT_FILENO)) {
        std::fprintf(stderr, "vokdemo: --raw - writes binary frames to standard output, which is a terminal: "
                             "pipe it into a program or name a file\n");
        return 2;
    }
    // With the frames on standard output, the loader's text goes to standard error.
    StdioMessages messages(rawToStdout(options) ? stderr : stdout);
    headless::ShowRun run(options.fps, options.t0, ShowContext(messages, DataFolder(options.dataDir)));
    if (run.startFailure()) return run.startFailure();  // a missing mesh: its message is out
    FILE* raw = nullptr;
    if (!options.rawFile.empty() && !(raw = openRaw(options))) return 2;
    headless::FrameRange range;
    if (options.hasFrameRange) range = {options.firstFrame, options.lastFrame};

    HeadlessSink sink(options.hash, raw, headless::expectedFrameCount(options.fps), options.fps);
    headless::RunEnd end = headless::renderShow(run, range, sink);
    sink.finishProgress();
    std::fflush(stdout);

    if (end == headless::RunEnd::Stopped) return failRaw(options, raw, true, sink.writeError());
    if (raw && !closeRaw(raw)) return failRaw(options, nullptr, true, errno);
    if (end == headless::RunEnd::Overran) {
        std::fprintf(stderr, "vokdemo: the show did not end within %u s of show time\n",
                     headless::ShowRun::timeLimitMs / 1000);
        return 2;
    }
    return 0;
}
