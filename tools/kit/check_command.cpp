// vokkit check [DIR]: the show's data files as the show will read them.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <libopenmpt/libopenmpt.hpp>
#include <memory>
#include <sstream>

#include "media/openmpt_module.h"
#include "commands.h"
#include "image/pcx.h"
#include "kit_slots.h"
#include "show_flashes.h"
#include "show_poses.h"
#include "show_table.h"
#include "shared/replace_file.h"
#include "verify/frame_table.h"
#include "wire3d/ase.h"

namespace {

// Twelve units of 8.2758 s.
constexpr double showSeconds = 99.3096;

struct Finding {
    enum Status { Ok, Problem, Missing } status;
    std::string text;
};

std::string size(int width, int height) { return std::to_string(width) + "x" + std::to_string(height); }

std::string readWholeFile(const DataFolder& data, const char* name, bool& found) {
    std::string bytes;
    found = data.read(name, bytes);
    return bytes;
}

int field16(const std::string& header, size_t offset) {
    return static_cast<uint8_t>(header[offset]) | (static_cast<uint8_t>(header[offset + 1]) << 8);
}

const char* const convertPicture = "convert the original with vokkit picture";

// What the header says against what the show's reader takes from it.
Finding checkPicture(const DataFolder& data, const Slot& slot) {
    bool found = false;
    const std::string bytes = readWholeFile(data, slot.name, found);
    if (!found) {
        return {Finding::Missing, std::string("not found: the show draws ") +
                                      (slot.kind == DataKind::Sprite ? "nothing" : "black") +
                                      " instead; make it with vokkit picture"};
    }
    if (bytes.size() < 128) {
        return {Finding::Problem, "only " + std::to_string(bytes.size()) + " bytes, not a PCX picture; " +
                                      convertPicture};
    }
    MessageLog ignored;  // the check words its own findings
    const std::unique_ptr<Image> shown = loadPcx(ShowContext(ignored, data), slot.name);
    const int readWidth = field16(bytes, 12), readHeight = field16(bytes, 14);
    const int windowWidth = field16(bytes, 8) - field16(bytes, 4) + 1;
    const int windowHeight = field16(bytes, 10) - field16(bytes, 6) + 1;
    const auto byte = [&bytes](size_t offset) { return static_cast<uint8_t>(bytes[offset]); };
    if (byte(0) != 10 || byte(2) != 1 || byte(3) != 8 || byte(65) != 3) {
        return {Finding::Problem, "not a 24-bit, three-plane, run-length PCX (" + std::to_string(byte(3) * byte(65)) +
                                      " bits a pixel), which the show cannot decode (it sees " +
                                      size(shown->width, shown->height) + "); " + convertPicture};
    }
    if (readWidth != windowWidth || readHeight != windowHeight) {
        return {Finding::Problem, "the size fields at offsets 12 and 14 read " + size(readWidth, readHeight) +
                                      " (the picture is " + size(windowWidth, windowHeight) + "); the show sees " +
                                      size(shown->width, shown->height) + "; convert it with vokkit picture"};
    }
    if (field16(bytes, 66) != readWidth) {
        return {Finding::Problem, "plane rows of " + std::to_string(field16(bytes, 66)) + " bytes for " +
                                      std::to_string(readWidth) +
                                      " pixels; the show expects no padding and would slant the picture; " +
                                      convertPicture};
    }
    if (slot.kind == DataKind::ScreenPicture && (shown->width != 320 || shown->height != 240)) {
        return {Finding::Problem, "the show sees " + size(shown->width, shown->height) +
                                      ", needs 320x240 and draws black instead; convert it with vokkit picture "
                                      "(--crop or --fit)"};
    }
    if (shown->count() == 0) return {Finding::Problem, "the show sees an empty picture; " + std::string(convertPicture)};
    return {Finding::Ok, size(shown->width, shown->height) + " picture"};
}

// The count a file declares after a keyword, read whole (the show's reader
// takes at most four characters of it); -1 without the keyword.
long declaredCount(const std::string& text, const char* keyword) {
    size_t at = text.find(keyword);
    if (at == std::string::npos) return -1;
    return std::strtol(text.c_str() + at + std::strlen(keyword), nullptr, 10);
}

// "at 3 of 257 poses, from turn 10/256 to turn 12/256"
std::string poseList(const std::vector<std::string>& poses, size_t total) {
    std::string list = "at " + std::to_string(poses.size()) + " of " + std::to_string(total) + " poses, ";
    if (poses.size() == 1) return list + "at " + poses.front();
    return list + "from " + poses.front() + " to " + poses.back();
}

Finding checkMesh(const DataFolder& data, const Slot& slot) {
    bool found = false;
    const std::string text = readWholeFile(data, slot.name, found);
    if (!found) {
        return {Finding::Missing, "not found: the show stops at start with \"ia pas le file " +
                                      std::string(slot.name) + "\"; make it with vokkit mesh"};
    }
    OwnedMesh owned;
    Mesh& mesh = owned.mesh;
    MessageLog progress;  // the reader's French text, not shown by the check
    if (!loadAse(ShowContext(progress, data), slot.name, mesh)) {
        return {Finding::Missing, "cannot be opened: the show stops at start with \"ia pas le file " +
                                      std::string(slot.name) + "\""};
    }
    const long declaredVertices = declaredCount(text, "*MESH_NUMVERTEX ");
    const long declaredFaces = declaredCount(text, "*MESH_NUMFACES ");
    const bool countsCut = (declaredVertices >= 0 && declaredVertices != mesh.vertexCount) ||
                           (declaredFaces >= 0 && declaredFaces != mesh.faceCount);
    if (countsCut) {
        return {Finding::Problem, "declares " + std::to_string(declaredVertices) + " vertices and " +
                                      std::to_string(declaredFaces) + " faces; the show reads " +
                                      std::to_string(mesh.vertexCount) + " and " + std::to_string(mesh.faceCount) +
                                      " (at most 9999 each); convert the model with vokkit mesh --faces"};
    }
    if (mesh.faceCount == 0) {
        return {Finding::Problem, "no faces: nothing is drawn; convert a model with triangles with vokkit mesh"};
    }
    const std::vector<Pose> poses = showPoses(slot);
    const ScreenReport report = screenReport(mesh, poses);
    const std::string counts = std::to_string(mesh.vertexCount) + " vertices, " + std::to_string(mesh.faceCount) +
                               " faces";
    if (report.brokenFaces > 0) {
        return {Finding::Problem, counts + "; " + std::to_string(report.brokenFaces) +
                                      " faces name vertices that do not exist and are never drawn; convert the "
                                      "model with vokkit mesh"};
    }
    if (report.facesLeaving > 0) {
        return {Finding::Problem, counts + "; " + std::to_string(report.facesLeaving) +
                                      " faces leave the screen (and are not drawn) " +
                                      poseList(report.posesLeaving, poses.size()) +
                                      "; convert the model with vokkit mesh, which scales it to fit"};
    }
    return {Finding::Ok, counts + ", on screen at every angle of its scenes"};
}

Finding checkModule(const DataFolder& data, const Slot& slot) {
    bool found = false;
    readWholeFile(data, slot.name, found);
    if (!found) return {Finding::Missing, "not found: the show plays in silence; put an XM module there"};
    std::ostringstream log;
    std::string problem;
    const std::unique_ptr<openmpt::module> module = loadModule(data.path(slot.name), log, problem);
    if (!module) return {Finding::Problem, problem + "; save it again as XM in your tracker"};
    const std::string type = module->get_metadata("type");
    if (type != "xm") {
        return {Finding::Problem, "a " + (type.empty() ? std::string("unknown") : type) +
                                      " module; the show plays XM: save it as XM in your tracker"};
    }
    const double seconds = module->get_duration_seconds();
    char text[200];
    if (seconds < showSeconds - 0.05) {
        std::snprintf(text, sizeof text, "XM module of %.2f s, %.2f s shorter than the show's %.2f s: the end is silent",
                      seconds, showSeconds - seconds, showSeconds);
    } else if (seconds > showSeconds + 0.05) {
        std::snprintf(text, sizeof text,
                      "XM module of %.2f s, %.2f s longer than the show's %.2f s: it is cut off when the show ends",
                      seconds, seconds - showSeconds, showSeconds);
    } else {
        std::snprintf(text, sizeof text, "XM module of %.2f s, as long as the show", seconds);
    }
    return {Finding::Ok, text};
}

Finding checkSlot(const DataFolder& data, const Slot& slot) {
    switch (slot.kind) {
        case DataKind::ScreenPicture:
        case DataKind::Sprite: return checkPicture(data, slot);
        case DataKind::Module: return checkModule(data, slot);
        default: return checkMesh(data, slot);
    }
}

const char* statusWord(Finding::Status status) {
    switch (status) {
        case Finding::Ok: return "ok";
        case Finding::Missing: return "missing";
        default: return "PROBLEM";
    }
}

// The flash check of the show as it will play, as one more line. False when
// the show fails it; a show that does not start is not checked.
bool printFlashCheck(const DataFolder& data) {
    const ShowFlashes show = analyseShow(data, 60);
    if (!show.started) {
        std::printf("%-8s %-15s not checked: the show stops at start\n", "-", "flashes");
        return true;
    }
    const std::string verdict = flashVerdict(show.record, flash::Reading::Wcag);
    const bool passes =
        flash::summarise(show.record, flash::Reading::Wcag, 0, show.record.frames.size()).status != flash::Status::Fail;
    std::printf("%-8s %-15s %s%s\n", passes ? "ok" : "PROBLEM", "flashes", verdict.c_str(),
                passes ? "" : "; vokkit flashes --heatmap shows where; calm the pictures there");
    return passes;
}

// The frame table beside the data files, for vokdemo --verify, as one more
// line. The status of the check: exitBadInput when it cannot be written.
int writeShowTable(const DataFolder& data, const std::string& directory, int status) {
    const ShowTable table = makeShowTable(data);
    if (!table.started) {
        std::printf("%-8s %-15s not made: the show stops at start\n", "-", verify::tableName);
        return status;
    }
    const std::string path = directory + "/" + verify::tableName;
    std::string error;
    if (!replaceFile(path, table.text, error)) {
        std::printf("%-8s %-15s not written: %s\n", "PROBLEM", verify::tableName, error.c_str());
        return exitBadInput;
    }
    std::printf("%-8s %-15s %lld frames at %d fps, for vokdemo --verify\n", "ok", verify::tableName,
                static_cast<long long>(table.frames), verify::tableFps);
    return status;
}

// Takes a flag out of the arguments; true when it was there.
bool takeFlag(std::vector<std::string>& args, const char* flag) {
    const auto found = std::find(args.begin(), args.end(), flag);
    if (found == args.end()) return false;
    args.erase(found);
    return true;
}

// Every file's line, then the flash check's: the check's exit status.
int checkFiles(const DataFolder& data, bool checkFlashes) {
    int problems = 0;
    for (const Slot& slot : dataFiles) {
        const Finding finding = checkSlot(data, slot);
        if (finding.status != Finding::Ok) ++problems;
        std::printf("%-8s %-15s %s\n", statusWord(finding.status), slot.name, finding.text.c_str());
    }
    if (problems > 0 && checkFlashes) std::printf("%-8s %-15s not checked until the files are fixed\n", "-", "flashes");
    const bool flashesPass = problems > 0 || !checkFlashes || printFlashCheck(data);
    if (problems == 0) {
        std::printf("the show will play all %d files as intended\n", dataFileCount);
        if (!flashesPass) std::printf("but the show fails the flash check\n");
        return flashesPass ? exitOk : exitProblems;
    }
    std::printf("%d of %d files need a fix\n", problems, dataFileCount);
    return exitProblems;
}

}  // namespace

int runCheck(const std::vector<std::string>& arguments) {
    std::vector<std::string> args = arguments;
    const bool checkFlashes = !takeFlag(args, "--no-flashes");
    const bool table = takeFlag(args, "--table");
    if (args.size() > 1 || (!args.empty() && args[0].size() > 1 && args[0][0] == '-')) {
        return refuse("check", "usage: vokkit check [DIR] [--no-flashes] [--table]");
    }
    const std::string directory = args.empty() ? "." : args[0];
    if (::access(directory.c_str(), R_OK | X_OK) != 0) return refuse(directory, std::strerror(errno));
    const DataFolder data(directory);
    const int status = checkFiles(data, checkFlashes);
    return table ? writeShowTable(data, directory, status) : status;
}
