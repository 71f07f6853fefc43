// The data-file fault map: every data file, each spoilt in eight ways, given
// to real runs of the program. Writes the table of what the program did to
// faults.md in the build folder (and over docs/faults.md when the variable
// VOK_UPDATE_FAULTS is set), and fails on a crash, a hang, or an exit code
// that the checked-in table does not give for that case.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include "demo/data_files.h"
#include "support/child_process.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;


enum class Fault { Missing, Empty, Directory, Unreadable, CutAtHeader, CutHalfway, AbsurdHeader, RandomBytes };
const Fault allFaults[] = {Fault::Missing,     Fault::Empty,      Fault::Directory,    Fault::Unreadable,
                           Fault::CutAtHeader, Fault::CutHalfway, Fault::AbsurdHeader, Fault::RandomBytes};

const char* faultName(Fault fault) {
    switch (fault) {
        case Fault::Missing: return "missing";
        case Fault::Empty: return "empty";
        case Fault::Directory: return "directory";
        case Fault::Unreadable: return "unreadable";
        case Fault::CutAtHeader: return "cut at header";
        case Fault::CutHalfway: return "cut halfway";
        case Fault::AbsurdHeader: return "absurd header";
        case Fault::RandomBytes: return "random bytes";
    }
    return "";
}

// What the data table (demo/data_files.h) says a file is.
bool isKind(const std::string& name, std::initializer_list<DataKind> kinds) {
    for (const DataFile& file : dataFiles) {
        if (name == file.name) return std::find(kinds.begin(), kinds.end(), file.kind) != kinds.end();
    }
    return false;
}
bool isPicture(const std::string& name) { return isKind(name, {DataKind::ScreenPicture, DataKind::Sprite}); }
bool isModule(const std::string& name) { return isKind(name, {DataKind::Module}); }

void putLe16(Bytes& b, size_t at, uint16_t v) {
    if (at + 2 <= b.size()) b[at] = v & 0xFF, b[at + 1] = v >> 8;
}

void putLe32(Bytes& b, size_t at, uint32_t v) {
    putLe16(b, at, v & 0xFFFF);
    putLe16(b, at + 2, v >> 16);
}

// Where each kind of file's header ends: the picture's 128 bytes, the mesh's
// two count lines, the module's fixed part and its header-size field's block.
size_t headerLength(const std::string& name, const Bytes& file) {
    if (isPicture(name)) return 128;
    if (isModule(name)) return file.size() >= 64 ? 60 + (file[60] | file[61] << 8) : file.size();
    std::string text(file.begin(), file.end());
    size_t faces = text.find("*MESH_NUMFACES ");
    size_t lineEnd = text.find('\n', faces);
    return faces == std::string::npos || lineEnd == std::string::npos ? text.size() : lineEnd + 1;
}

// The header of each kind claiming sizes no file of the show has: a picture of
// 65535x65535, a mesh of 9999 vertices and faces (the most a count holds), a
// module with 65535 orders, channels, patterns and instruments.
Bytes withAbsurdHeader(const std::string& name, Bytes file) {
    if (isPicture(name)) {
        putLe16(file, 12, 0xFFFF);
        putLe16(file, 14, 0xFFFF);
    } else if (isModule(name)) {
        putLe32(file, 60, 0xFFFFFFFF);
        for (size_t at = 64; at <= 72; at += 2) putLe16(file, at, 0xFFFF);
    } else {
        std::string text(file.begin(), file.end());
        for (const std::string keyword : {"*MESH_NUMVERTEX ", "*MESH_NUMFACES "}) {
            size_t at = text.find(keyword);
            if (at != std::string::npos) text.replace(at + keyword.size(), 4, "9999");
        }
        file.assign(text.begin(), text.end());
    }
    return file;
}

Bytes randomBytes(size_t size, const std::string& seed) {
    std::seed_seq seq(seed.begin(), seed.end());
    std::mt19937 generator(seq);
    Bytes bytes(size);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(generator());
    return bytes;
}

void writeBytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// One case's data folder: links to an intact copy for every other file, and
// the spoilt file itself.
void makeCaseFolder(const fs::path& folder, const fs::path& intact, const std::string& name, Fault fault) {
    fs::create_directory(folder);
    fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
    for (const DataFile& other : dataFiles)
        if (other.name != name) fs::create_symlink(intact / other.name, folder / other.name);
    Bytes original = readFileBytes((intact / name).string());
    fs::path target = folder / name;
    switch (fault) {
        case Fault::Missing: break;
        case Fault::Empty: writeBytes(target, {}); break;
        case Fault::Directory: fs::create_directory(target); break;
        case Fault::Unreadable:
            writeBytes(target, original);
            fs::permissions(target, fs::perms::none);
            break;
        case Fault::CutAtHeader:
            original.resize(std::min(original.size(), headerLength(name, original)));
            writeBytes(target, original);
            break;
        case Fault::CutHalfway:
            original.resize(original.size() / 2);
            writeBytes(target, original);
            break;
        case Fault::AbsurdHeader: writeBytes(target, withAbsurdHeader(name, original)); break;
        case Fault::RandomBytes: writeBytes(target, randomBytes(original.size(), name)); break;
    }
}

// Each file spoilt in each way, in order, each case in a fresh folder under
// `root` that is removed after `run` has seen it.
void forEachCase(const std::vector<std::string>& names, const TempDir& root, const fs::path& intact,
                 const std::function<void(const std::string& name, Fault fault, const fs::path& folder)>& run) {
    int caseNumber = 0;
    for (const std::string& name : names) {
        for (Fault fault : allFaults) {
            fs::path folder = fs::path(root.path()) / ("case" + std::to_string(caseNumber++));
            makeCaseFolder(folder, intact, name, fault);
            run(name, fault, folder);
            fs::remove_all(folder);
        }
    }
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

struct CaseRun {
    ChildResult child;
    std::map<int64_t, std::pair<int, std::string>> frames;  // frame -> scene, hash
    std::vector<std::string> otherOutput;                    // the lines that are not frames, in order
    std::string musicDigest;                                  // the WAV's bytes, for the module's cases
};

void parseFrames(CaseRun& run) {
    for (const std::string& line : lines(run.child.output)) {
        long long frame = 0;
        int ms = 0, scene = 0;
        char hash[80] = {};
        if (std::sscanf(line.c_str(), "frame %lld %d %d %79s", &frame, &ms, &scene, hash) == 4)
            run.frames[frame] = {scene, hash};
        else
            run.otherOutput.push_back(line);
    }
}

// The module is read only by the programs that play or write the music: its
// cases write the music as a WAV file; every other case renders frame hashes.
CaseRun runCase(const std::string& name, const fs::path& folder, bool asNobody) {
    CaseRun run;
    ChildOptions options;
    options.dropRootPrivileges = asNobody;
    std::vector<std::string> arguments{VOK_DEMO_BINARY, "--data", folder.string()};
    fs::path wav = folder / "music.wav";
    if (isModule(name)) {
        fs::permissions(folder, fs::perms::all);  // the output must be writable for uid 65534 too
        arguments.insert(arguments.end(), {"--wav", wav.string()});
    } else {
        arguments.insert(arguments.end(), {"--render", "--fps", "10", "--hash"});
    }
    run.child = runChild(arguments, options);
    parseFrames(run);
    if (isModule(name)) {
        Bytes music = readFileBytes(wav.string());
        bool silent = music.size() > 44 && std::all_of(music.begin() + 44, music.end(), [](uint8_t b) { return b == 0; });
        run.musicDigest = music.empty() ? "none" : silent ? "silent" : std::to_string(std::hash<std::string>()(std::string(music.begin(), music.end())));
    }
    return run;
}

std::string exitText(const ChildResult& child) {
    if (!child.started) return "not run";
    if (child.timedOut) return "hang";
    if (child.signal) return "signal " + std::to_string(child.signal);
    return std::to_string(child.exitCode);
}

// Which scenes' frames differ from those of the intact data set.
std::string framesText(const CaseRun& run, const CaseRun& intact, const std::string& name) {
    if (isModule(name)) {
        if (run.musicDigest == intact.musicDigest) return "music as intact";
        if (run.musicDigest == "silent" || run.musicDigest == "none") return "music " + run.musicDigest;
        return "other music";
    }
    if (run.frames.empty()) return "no frames";
    std::set<int> scenes;
    for (const auto& [frame, sceneAndHash] : intact.frames) {
        auto found = run.frames.find(frame);
        if (found == run.frames.end() || found->second != sceneAndHash) scenes.insert(sceneAndHash.first);
    }
    std::string text;
    if (run.frames.size() != intact.frames.size()) text = std::to_string(run.frames.size()) + " frames; ";
    if (scenes.empty()) return text + "as intact";
    text += "scene" + std::string(scenes.size() > 1 ? "s" : "");
    for (int scene : scenes) text += " " + std::to_string(scene);
    return text + " differ";
}

// The warnings and any output line the intact run does not write, with the
// case folder shown as DIR.
std::string messagesText(const CaseRun& run, const CaseRun& intact, const std::string& folder) {
    std::vector<std::string> shown;
    for (const std::string& line : lines(run.child.errors)) shown.push_back(line);
    std::set<std::string> intactLines(intact.otherOutput.begin(), intact.otherOutput.end());
    for (const std::string& line : run.otherOutput)
        if (!intactLines.count(line)) shown.push_back(line);
    std::string text;
    for (std::string line : shown) {
        for (size_t at; (at = line.find(folder)) != std::string::npos;) line.replace(at, folder.size(), "DIR");
        if (line.rfind("vokdemo: wrote ", 0) == 0) continue;  // the WAV's summary line holds a time
        std::replace(line.begin(), line.end(), '|', '/');
        if (!text.empty()) text += "<br>";
        text += line.size() > 120 ? line.substr(0, 117) + "..." : line;
    }
    return text.empty() ? "-" : text;
}

// The exit column of the checked-in table, by "file|fault".
std::map<std::string, std::string> expectedExits(const std::vector<std::string>& tableLines) {
    std::map<std::string, std::string> exits;
    for (const std::string& line : tableLines) {
        std::vector<std::string> cells;
        std::istringstream row(line);
        for (std::string cell; std::getline(row, cell, '|');) {
            cell.erase(0, cell.find_first_not_of(' '));
            cell.erase(cell.find_last_not_of(' ') + 1);
            cells.push_back(cell);
        }
        if (cells.size() >= 4 && line[0] == '|') exits[cells[1] + "|" + cells[2]] = cells[3];
    }
    return exits;
}

const char* tableIntro =
    "# What the show does with a bad data file\n\n"
    "Every data file, spoilt in eight ways, one at a time, with the other files intact. Each row is a\n"
    "real run of `vokdemo --render --fps 10 --hash --data DIR` (for `zumber.xm`, which only the\n"
    "players and the music writer read: `vokdemo --wav OUT --data DIR`), stopped as a hang after 10 s of\n"
    "processor time (or 120 s of waiting).\n"
    "*Frames* says which scenes' frames differ from those of the intact data set; *Messages* holds\n"
    "standard error and any output line the intact run does not write.\n\n"
    "The faults: *missing*; *empty* (0 bytes); *directory* (a folder of that name); *unreadable*\n"
    "(mode 000; run as uid 65534 when the test runs as root, where the mode alone stops nothing);\n"
    "*cut at header* (a picture's 128 header bytes, a mesh up to its face-count line, the module's\n"
    "fixed header); *cut halfway*; *absurd header* (a picture of 65535x65535, a mesh of 9999\n"
    "vertices and faces, a module of 65535 orders, channels, patterns and instruments); *random\n"
    "bytes* (as many as the file holds, the same on every run).\n\n"
    "Generated by the test `faults.map` (`tests/faults/fault_map_test.cpp`); it fails on a crash, a\n"
    "hang, or an exit code other than the one below. To remake this file:\n"
    "`VOK_UPDATE_FAULTS=1 ctest --test-dir build/release -R faults.map`. The heavy test\n"
    "`faults.windows.win64` (and `.win32`) gives one file of each kind to the Windows build under Wine\n"
    "and writes its table to `build/release/faults-windows-win64.md` (and `docs/` with the same variable).\n\n"
    "| File | Fault | Exit | Frames | Messages |\n|---|---|---|---|---|\n";

// An intact copy of the data set in a folder that uid 65534 may read too.
fs::path makeIntactCopy(const TempDir& root) {
    fs::permissions(root.path(), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec |
                                     fs::perms::group_read | fs::perms::group_exec);
    fs::path intactCopy = fs::path(root.path()) / "intact";
    fs::create_directory(intactCopy);
    for (const DataFile& file : dataFiles) fs::copy_file(fs::path(VOK_DATA_DIR) / file.name, intactCopy / file.name);
    return intactCopy;
}

// The checked-in table's lines.
std::vector<std::string> keptTable() {
    Bytes bytes = readFileBytes(std::string(VOK_SOURCE_DIR) + "/docs/faults.md");
    return lines(std::string(bytes.begin(), bytes.end()));
}

void writeTable(const std::string& buildPath, const std::string& docsName, const std::string& table) {
    std::ofstream(buildPath) << table;
    if (std::getenv("VOK_UPDATE_FAULTS")) std::ofstream(std::string(VOK_SOURCE_DIR) + "/docs/" + docsName) << table;
}

// The Windows build reads the same files through the same core; its C library
// opens files differently (a folder does not open at all), so its exit codes
// are recorded, and only a crash or a hang fails.
const std::vector<std::string> windowsFiles = {"vok_logo.pcx", "vok_mask.pcx", "part1.pcx", "v.ase"};

const char* windowsIntro =
    "# What the Windows build does with a bad data file\n\n"
    "One file of each kind (a background, the mask the cross-fade loads itself, a sprite, a mesh),\n"
    "spoilt as in [faults.md](faults.md), given to the Windows build's headless renderer under\n"
    "Wine (`vok_win_render.exe 1 OUT 1` in the data folder). Generated by the test `faults.windows.*`;\n"
    "it fails on a crash or a hang (20 s of processor time). The unreadable case is not run as root:\n"
    "Wine refuses a prefix another user owns, and root reads any file.\n\n"
    "| File | Fault | Exit | Frames written |\n|---|---|---|---|\n";

// Wine's loader of the build's width, as the suite names it: Debian's `wine`
// command takes the 32-bit one whenever it is installed, even where the
// kernel cannot run it.
std::string wineLoader() {
    const char* loader = std::getenv("VOK_WINE_LOADER");
    return loader != nullptr ? loader : "wine";
}

}  // namespace

TEST(FaultMap, WindowsBuildUnderWine) {
    const char* program = std::getenv("VOK_WINE_RENDER");
    const char* arch = std::getenv("VOK_WINE_ARCH");  // win32 or win64
    if (!program || !fs::exists(program) || !arch || std::system("command -v wine >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no Windows build or no Wine";
    TempDir root;
    fs::path intactCopy = makeIntactCopy(root);
    std::string prefix = root.file("prefix");
    setenv("WINEPREFIX", prefix.c_str(), 1);
    setenv("WINEARCH", arch, 1);
    setenv("WINEDEBUG", "-all", 1);
    setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
    // One prefix and one lasting wine server for every run. The server is
    // started first (once wineboot's own server runs, `wineserver -p` fails),
    // away from the test's output, which ctest reads until every holder ends.
    fs::create_directory(prefix);
    setenv("WINELOADER", wineLoader().c_str(), 1);
    if (std::system(("wineserver -p >/dev/null 2>&1 && " + wineLoader() + " wineboot -i >/dev/null 2>&1").c_str()) != 0) {
        std::system("wineserver -k >/dev/null 2>&1");
        GTEST_SKIP() << "Wine cannot make a " << arch << " prefix here (is Wine of that width installed, and can"
                     << " this machine run its programs?)";
    }

    std::string table = windowsIntro;
    forEachCase(windowsFiles, root, intactCopy, [&](const std::string& name, Fault fault, const fs::path& folder) {
        std::string label = name + ", " + faultName(fault);
        std::string row = "| " + name + " | " + faultName(fault) + " | ";
        if (fault == Fault::Unreadable && geteuid() == 0) {
            table += row + "not run (root) | - |\n";
            return;
        }
        ChildOptions options;
        options.cpuLimitSeconds = 20;
        options.workingDirectory = folder.string();
        ChildResult child = runChild({"/usr/bin/env", wineLoader(), program, "1", "frames.raw", "1"}, options);
        std::string exit = exitText(child);
        size_t frameLines = 0;
        for (const std::string& line : lines(child.output)) frameLines += line.rfind("frame ", 0) == 0;
        table += row + exit + " | " + std::to_string(frameLines) + " |\n";

        EXPECT_FALSE(child.timedOut) << label;
        EXPECT_EQ(child.signal, 0) << label;
    });
    std::system("wineserver -k >/dev/null 2>&1");
    std::string name = std::string("faults-windows-") + arch + ".md";
    writeTable(std::string(VOK_FAULTS_OUTPUT_WINDOWS) + "-" + arch + ".md", name, table);
}

TEST(FaultMap, EveryDataFileSpoiltEveryWay) {
    TempDir root;
    fs::path intactCopy = makeIntactCopy(root);
    CaseRun intactFrames = runCase("frames", intactCopy, false);
    CaseRun intactMusic = runCase(moduleFile, intactCopy, false);
    ASSERT_EQ(exitText(intactFrames.child), "0") << intactFrames.child.errors;
    ASSERT_FALSE(intactFrames.frames.empty());

    const std::vector<std::string> kept = keptTable();
    std::map<std::string, std::string> expected = expectedExits(kept);
    std::string table = tableIntro;
    std::vector<std::string> names;
    for (const DataFile& file : dataFiles) names.push_back(file.name);
    forEachCase(names, root, intactCopy, [&](const std::string& name, Fault fault, const fs::path& folder) {
        CaseRun run = runCase(name, folder, fault == Fault::Unreadable);
        const CaseRun& intact = isModule(name) ? intactMusic : intactFrames;
        std::string exit = exitText(run.child);
        table += "| " + name + " | " + faultName(fault) + " | " + exit + " | " + framesText(run, intact, name) +
                 " | " + messagesText(run, intact, folder.string()) + " |\n";

        std::string label = name + ", " + faultName(fault);
        EXPECT_TRUE(run.child.started) << label << ": " << run.child.errors;
        EXPECT_FALSE(run.child.timedOut) << label << ": no end within 10 s of processor time";
        EXPECT_EQ(run.child.signal, 0) << label << ": " << run.child.errors;
        auto row = expected.find(name + "|" + faultName(fault));
        if (row == expected.end())
            ADD_FAILURE() << label << ": no row in docs/faults.md (exit " << exit << ")";
        else
            EXPECT_EQ(exit, row->second) << label << ": " << run.child.errors;
    });
    writeTable(VOK_FAULTS_OUTPUT, "faults.md", table);
    // The checked-in table is what the program does now, row for row.
    if (!std::getenv("VOK_UPDATE_FAULTS")) {
        std::vector<std::string> made = lines(table);
        for (size_t i = 0; i < std::max(made.size(), kept.size()); ++i) {
            std::string now = i < made.size() ? made[i] : "(none)", before = i < kept.size() ? kept[i] : "(none)";
            if (now != before)
                ADD_FAILURE() << "docs/faults.md is out of date (remake it with VOK_UPDATE_FAULTS=1):\n  kept: "
                              << before << "\n  runs: " << now;
        }
    }
}
