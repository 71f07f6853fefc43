// vokkit flashes [DIR] [--fps N] [options]
// vokkit flashes --raw FILE --fps N [options]
// The photosensitive-flash check of a data set's show or of any stream of
// 320x240 BGRA frames, under both readings.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "commands.h"
#include "demo/scenes.h"
#include "flash/flash_plot.h"
#include "flash/heat_map.h"
#include "flash/verdict.h"
#include "flash_options.h"
#include "platform/data_location.h"
#include "show_flashes.h"

namespace {

// The frames of a raw stream ("-": standard input) through the analyser.
// A length that is not a whole number of frames is refused: of a file
// before any work, of a pipe at its end.
int analyseRaw(const FlashOptions& o, flash::FlashRecord& record, flash::HeatMap* heatMap) {
    const std::string& name = o.rawFile;
    std::FILE* in = name == "-" ? stdin : std::fopen(name.c_str(), "rb");
    if (!in) return refuse(name, std::strerror(errno));
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(in == stdin ? nullptr : in, std::fclose);
    const auto notWhole = [&](long long bytes) {
        return refuse(name, std::to_string(bytes) + " bytes, not a whole number of 320x240 BGRA frames (" +
                                std::to_string(flash::frameBytes) + " bytes each)");
    };
    struct stat info {};
    if (fstat(fileno(in), &info) == 0 && S_ISREG(info.st_mode)) {
        if (info.st_size == 0 || info.st_size % flash::frameBytes != 0) return notWhole(info.st_size);
    }
    record.fps = o.fps;
    record.field = o.field;
    flash::FlashAnalyser analyser(o.field);
    std::vector<uint8_t> frame(flash::frameBytes);
    long long total = 0;
    for (int64_t k = 0;; ++k) {
        const size_t got = std::fread(frame.data(), 1, frame.size(), in);
        total += static_cast<long long>(got);
        if (got < frame.size()) break;
        const flash::FrameFigures figures = analyser.addFrame(frame.data(), flash::frameMs(k, o.fps));
        record.add(figures, -1);
        if (heatMap) heatMap->add(frame.data(), analyser, figures, -1);
    }
    if (std::ferror(in)) return refuse(name, "read error");
    if (total == 0 || total % flash::frameBytes != 0) return notWhole(total);
    return exitOk;
}

std::string when(const flash::Peak& peak, int fps) { return peak.frame < 0 ? "-" : flash::frameTime(peak.frame, fps); }

void printRow(const flash::FlashRecord& record, flash::Reading reading, const std::string& scene, const std::string& name,
              size_t first, size_t end) {
    const flash::Summary s = flash::summarise(record, reading, first, end);
    std::printf("%5s  %-20s %-17s %7d  %-16s %4d  %-16s", scene.c_str(), name.c_str(), flash::statusName(s.status),
                s.general.transitions, when(s.general, record.fps).c_str(), s.red.transitions, when(s.red, record.fps).c_str());
    if (reading == flash::Reading::Broadcast) std::printf("  %.3f s", s.extendedMs / 1000.0);
    std::printf("\n");
}

// One line a scene and one for the whole: status, the most general and red
// transitions in any of its seconds (and, broadcast, the most time of 4 to
// 6 a second within 5 s).
void printTable(const flash::FlashRecord& record, flash::Reading reading) {
    const flash::FieldSize field = reading == flash::Reading::Wcag ? record.field : flash::wholeScreen;
    if (reading == flash::Reading::Wcag) {
        std::printf("WCAG 2.3.1: any %dx%d field, changing when more than a quarter of it (%g pixels) flashes at once\n",
                    field.width, field.height, field.area() / 4.0);
    } else {
        std::printf("broadcast: the whole screen, changing when more than a quarter of it (%g pixels) flashes at once\n",
                    field.area() / 4.0);
    }
    std::printf("scene  %-20s %-17s general  in the second to   red  in the second to%s\n", "name", "status",
                reading == flash::Reading::Broadcast ? "  4 to 6 within 5 s" : "");
    const std::vector<flash::SceneSpan> spans = flash::sceneSpans(record);
    for (const flash::SceneSpan& span : spans) {
        const std::string number = span.scene < 0 ? "-" : std::to_string(span.scene);
        printRow(record, reading, number, sceneName(span.scene, "the stream"), span.first, span.end);
    }
    if (spans.size() > 1) printRow(record, reading, "all", "the show", 0, record.frames.size());
}

// "row,row,...": one line a frame under both readings.
bool writeCsv(const std::string& file, const flash::FlashRecord& record) {
    std::FILE* out = std::fopen(file.c_str(), "w");
    if (!out) return false;
    std::fprintf(out, "frame,time_s,scene,wcag_general,wcag_red,wcag_status,field_x,field_y,field_width,field_height,"
                      "broadcast_general,broadcast_red,flashing_in_5s_s,broadcast_status,changed_pixels\n");
    for (size_t i = 0; i < record.frames.size(); ++i) {
        const flash::FrameFigures& f = record.frames[i];
        std::fprintf(out, "%zu,%s,%d,%d,%d,%s,%d,%d,%d,%d,%d,%d,%.3f,%s,%d\n", i,
                     flash::frameSeconds(static_cast<int64_t>(i), record.fps).c_str(), record.scenes[i], f.wcag.general,
                     f.wcag.red, flash::statusWord(flash::wcagStatus(f)), f.fieldX, f.fieldY, record.field.width,
                     record.field.height, f.broadcast.general, f.broadcast.red, f.extendedMs / 1000.0,
                     flash::statusWord(flash::broadcastStatus(f)), f.changedPixels);
    }
    if (std::fclose(out) == 0) return true;
    std::remove(file.c_str());
    return false;
}

bool writeText(const std::string& file, const std::string& text) {
    std::FILE* out = std::fopen(file.c_str(), "w");
    if (!out) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    if (std::fclose(out) == 0 && written) return true;
    std::remove(file.c_str());
    return false;
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

int analyseDataSet(const FlashOptions& o, flash::FlashRecord& record, flash::HeatMap* heatMap) {
    std::string directory, error;
    if (!chooseDirectory(o, directory, error)) return refuse("flashes", error);
    ShowFlashes show = analyseShow(DataFolder(directory), o.fps == 0 ? 60 : o.fps, o.field, heatMap);
    if (!show.started) {
        return refuse(directory, "the show stops at start (" + show.startFailure + "), so nothing is shown to check");
    }
    record = std::move(show.record);
    const std::string shown = std::filesystem::absolute(directory).lexically_normal().string();
    std::printf("%s: %zu frames at %d a second\n", shown.c_str(), record.frames.size(), record.fps);
    return exitOk;
}

// The files asked for; the status of the first that cannot be written.
int writeOutputs(const FlashOptions& o, const flash::FlashRecord& record, const flash::HeatMap* heatMap) {
    std::string error;
    if (!o.csvFile.empty() && !writeCsv(o.csvFile, record)) return refuse(o.csvFile, std::strerror(errno));
    if (!o.plotFile.empty() && !flash::writeFlashPlot(record, sceneNames(), o.plotFile, error)) return refuse("flashes", error);
    if (heatMap && !heatMap->write(record, sceneNames(), o.heatMapFile, error)) return refuse("flashes", error);
    if (!o.verdictFile.empty() && !writeText(o.verdictFile, flash::verdictText(record, sceneNames()))) {
        return refuse(o.verdictFile, std::strerror(errno));
    }
    return exitOk;
}

}  // namespace

int runFlashes(const std::vector<std::string>& args) {
    FlashOptions o;
    std::string error;
    if (!parseFlashOptions(args, o, error)) return refuse("flashes", error);
    std::unique_ptr<flash::HeatMap> heatMap;
    if (!o.heatMapFile.empty()) heatMap = std::make_unique<flash::HeatMap>(o.field);
    flash::FlashRecord record;
    const int status = o.hasRaw ? analyseRaw(o, record, heatMap.get()) : analyseDataSet(o, record, heatMap.get());
    if (status != exitOk) return status;
    printTable(record, flash::Reading::Wcag);
    printTable(record, flash::Reading::Broadcast);
    std::printf("%s\n", flashVerdict(record, o.rule).c_str());
    const int written = writeOutputs(o, record, heatMap.get());
    if (written != exitOk) return written;
    return flash::summarise(record, o.rule, 0, record.frames.size()).status == flash::Status::Fail ? exitProblems : exitOk;
}
