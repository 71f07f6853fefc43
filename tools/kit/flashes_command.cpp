// vokkit flashes [DIR] [--fps N] [--plot FILE.png] [--verdict FILE]
// vokkit flashes --raw FILE --fps N [--plot FILE.png]
// The photosensitive-flash check of a data set's show or of any stream of
// 320x240 BGRA frames.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/data_location.h"
#include "commands.h"
#include "demo/scenes.h"
#include "flash/flash_plot.h"
#include "show_flashes.h"

namespace {

const char* const usageLine =
    "usage: vokkit flashes [DIR] [--fps N] [--plot FILE.png] [--verdict FILE] | --raw FILE --fps N";

struct FlashOptions {
    std::string directory, rawFile, plotFile, verdictFile;
    bool hasDirectory = false, hasRaw = false;
    int fps = 0;  // 0: not given
};

// Parses the arguments; on a bad command line returns false with the reason.
bool parseFlashOptions(const std::vector<std::string>& args, FlashOptions& o, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool takesValue = a == "--raw" || a == "--fps" || a == "--plot" || a == "--verdict";
        if (takesValue && i + 1 >= args.size()) return error = a + " needs a value; " + usageLine, false;
        if (a == "--raw") {
            o.rawFile = args[++i], o.hasRaw = true;
        } else if (a == "--plot") {
            o.plotFile = args[++i];
        } else if (a == "--verdict") {
            o.verdictFile = args[++i];
        } else if (a == "--fps") {
            const std::string& v = args[++i];
            char* end = nullptr;
            const long n = std::strtol(v.c_str(), &end, 10);
            if (v.empty() || *end != '\0' || n < 1 || n > 1000) {
                return error = "bad --fps '" + v + "': give a whole number of frames a second from 1 to 1000", false;
            }
            o.fps = static_cast<int>(n);
        } else if (a.size() > 1 && a[0] == '-') {
            return error = "unknown option '" + a + "'; " + usageLine, false;
        } else if (o.hasDirectory) {
            return error = usageLine, false;
        } else {
            o.directory = a, o.hasDirectory = true;
        }
    }
    if (o.hasRaw && o.hasDirectory) return error = "give a data folder or --raw FILE, not both", false;
    if (o.hasRaw && o.fps == 0) return error = "--raw needs --fps N, the frames a second of the stream", false;
    if (o.hasRaw && !o.verdictFile.empty()) return error = "--verdict is for a data set, not a raw stream", false;
    return true;
}

// The frames of a raw stream ("-": standard input) through the analyser.
// A length that is not a whole number of frames is refused: of a file
// before any work, of a pipe at its end.
int analyseRaw(const std::string& name, int fps, flash::FlashRecord& record) {
    std::FILE* in = name == "-" ? stdin : std::fopen(name.c_str(), "rb");
    if (!in) return refuse(name, std::strerror(errno));
    struct stat info {};
    const auto notWhole = [&](long long bytes) {
        if (in != stdin) std::fclose(in);
        return refuse(name, std::to_string(bytes) + " bytes, not a whole number of 320x240 BGRA frames (" +
                                std::to_string(flash::frameBytes) + " bytes each)");
    };
    if (fstat(fileno(in), &info) == 0 && S_ISREG(info.st_mode)) {
        if (info.st_size == 0 || info.st_size % flash::frameBytes != 0) return notWhole(info.st_size);
    }
    record.fps = fps;
    flash::FlashAnalyser analyser(fps);
    std::vector<uint8_t> frame(flash::frameBytes);
    long long total = 0;
    for (;;) {
        const size_t got = std::fread(frame.data(), 1, frame.size(), in);
        total += static_cast<long long>(got);
        if (got < frame.size()) break;
        record.add(analyser.addFrame(frame.data()), -1);
    }
    const bool readFailed = std::ferror(in) != 0;
    if (readFailed) {
        if (in != stdin) std::fclose(in);
        return refuse(name, "read error");
    }
    if (total == 0 || total % flash::frameBytes != 0) return notWhole(total);
    if (in != stdin) std::fclose(in);
    return exitOk;
}

// One line a scene: the most general and red flashes in any of its seconds.
void printScenes(const flash::FlashRecord& record) {
    std::printf("scene  %-20s general  in the second to   red  in the second to\n", "name");
    for (const flash::SceneSpan& span : flash::sceneSpans(record)) {
        const flash::Peaks peaks = flash::peaksOf(record, span.first, span.end);
        const auto when = [&](const flash::Peak& p) {
            return p.frame < 0 ? std::string("-") : flash::frameTime(p.frame, record.fps);
        };
        std::printf("%5d  %-20s %7d  %-16s %4d  %s\n", span.scene, sceneName(span.scene, "the stream"),
                    peaks.general.flashes, when(peaks.general).c_str(), peaks.red.flashes, when(peaks.red).c_str());
    }
}

// The worst second of the whole stream, of either kind.
void printWorst(const flash::FlashRecord& record, const flash::Peaks& peaks) {
    const bool redWorse = peaks.red.flashes > peaks.general.flashes;
    const flash::Peak& worst = redWorse ? peaks.red : peaks.general;
    if (worst.frame < 0) {
        std::printf("worst: no flash at all\n");
        return;
    }
    std::printf("worst: %d %s flashes in the second to %s, %s\n", worst.flashes, redWorse ? "red" : "general",
                flash::frameTime(worst.frame, record.fps).c_str(),
                sceneLabel(record.scenes[static_cast<size_t>(worst.frame)]).c_str());
}

bool writeVerdict(const std::string& file, const flash::FlashRecord& record) {
    std::FILE* out = std::fopen(file.c_str(), "w");
    if (!out) return false;
    const flash::Peaks peaks = flash::peaksOf(record, 0, record.frames.size());
    std::fprintf(out, "%s\n%s\n", flash::fails(peaks) ? "fail" : "pass", flashVerdict(record).c_str());
    return std::fclose(out) == 0;
}

// The directory a data set is read from: the one given, else the one the
// program would use.
bool chooseDirectory(const FlashOptions& o, std::string& directory, std::string& error) {
    if (o.hasDirectory) {
        directory = o.directory;
    } else {
        const DataLocation location =
            locateDataSet({"", std::filesystem::current_path().string(), installedDataDirectory()});
        if (location.source == DataLocation::Source::None) return error = location.error, false;
        directory = location.directory.empty() ? "." : location.directory;
    }
    if (::access(directory.c_str(), R_OK | X_OK) != 0) return error = directory + ": " + std::strerror(errno), false;
    return true;
}

}  // namespace

int runFlashes(const std::vector<std::string>& args) {
    FlashOptions o;
    std::string error;
    if (!parseFlashOptions(args, o, error)) return refuse("flashes", error);
    flash::FlashRecord record;
    if (o.hasRaw) {
        const int status = analyseRaw(o.rawFile, o.fps, record);
        if (status != exitOk) return status;
    } else {
        std::string directory;
        if (!chooseDirectory(o, directory, error)) return refuse("flashes", error);
        ShowFlashes show = analyseShow(DataFolder(directory), o.fps == 0 ? 60 : o.fps);
        if (!show.started) {
            return refuse(directory, "the show stops at start (" + show.startFailure + "), so nothing is shown to check");
        }
        record = std::move(show.record);
        const std::string shown = std::filesystem::absolute(directory).lexically_normal().string();
        std::printf("%s: %zu frames at %d a second\n", shown.c_str(), record.frames.size(), record.fps);
        printScenes(record);
    }
    const flash::Peaks peaks = flash::peaksOf(record, 0, record.frames.size());
    printWorst(record, peaks);
    std::printf("%s\n", flashVerdict(record).c_str());
    if (!o.plotFile.empty() && !flash::writeFlashPlot(record, o.plotFile, error)) return refuse(o.plotFile, error);
    if (!o.verdictFile.empty() && !writeVerdict(o.verdictFile, record)) return refuse(o.verdictFile, std::strerror(errno));
    return flash::fails(peaks) ? exitProblems : exitOk;
}
