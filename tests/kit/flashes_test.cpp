// vokkit flashes: refusals of bad input, raw streams through a file and a
// pipe with the status of either reading, and the project's data set, whose
// render through --raw gives the same figures as the data set itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "kit/kit_support.h"
#include "support/test_files.h"

namespace {

constexpr size_t frameBytes = 320 * 240 * 4;

// `frames` frames, all black or black and white in turn every `hold` frames.
std::string rawStream(int frames, int hold) {
    std::string bytes;
    for (int k = 0; k < frames; ++k) bytes += std::string(frameBytes, hold > 0 && (k / hold) % 2 ? '\xff' : '\0');
    return bytes;
}

std::string lastLine(const std::string& text) {
    const size_t end = text.find_last_not_of('\n');
    return text.substr(text.find_last_of('\n', end) + 1, end - text.find_last_of('\n', end));
}

// The CSV's rows without the scene column (the third).
std::string withoutScenes(const std::string& csv) {
    std::string out;
    size_t at = 0;
    while (at < csv.size()) {
        const size_t end = csv.find('\n', at);
        const std::string line = csv.substr(at, end - at);
        const size_t second = line.find(',', line.find(',') + 1), third = line.find(',', second + 1);
        out += line.substr(0, second) + line.substr(third) + "\n";
        at = end + 1;
    }
    return out;
}

struct Refusal {
    const char* name;
    std::string commandLine;
    const char* says;
};

TEST(KitFlashes, BadInputGetsOneLineAndStatus2) {
    TempDir dir;
    const std::string kit = VOK_KIT_BINARY " flashes ";
    const std::string cut = dir.write("cut.bgra", std::string(1000, '\0'));
    const std::string frame = dir.write("frame.bgra", std::string(frameBytes, '\0'));
    const Refusal cases[] = {
        {"raw file not whole frames", kit + "--raw " + cut + " --fps 60", "1000 bytes, not a whole number"},
        {"pipe not whole frames", "cat " + cut + " | " + kit + "--raw - --fps 60", "1000 bytes, not a whole number"},
        {"empty raw file", kit + "--raw " + dir.write("empty.bgra", "") + " --fps 60", "0 bytes"},
        {"frame rate 0", kit + "--raw " + frame + " --fps 0", "bad --fps '0'"},
        {"raw without a rate", kit + "--raw " + frame, "--raw needs --fps"},
        {"unreadable folder", kit + dir.file("nowhere"), "No such file or directory"},
        {"missing raw file", kit + "--raw " + dir.file("nowhere") + " --fps 60", "No such file or directory"},
        {"field larger than the frame", kit + "--raw " + frame + " --fps 60 --field 321x80", "bad --field '321x80'"},
        {"field not WxH", kit + "--raw " + frame + " --fps 60 --field 107", "bad --field '107'"},
        {"field of nothing", kit + "--raw " + frame + " --fps 60 --field 0x80", "bad --field '0x80'"},
        {"unknown rule", kit + "--raw " + frame + " --fps 60 --rule itu", "unknown --rule 'itu'"},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.name);
        const CommandResult run = runCapturingErrors(c.commandLine);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(run.err.rfind("vokkit: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
}

// The help of the kit and of its flash commands goes to standard output
// with status 0, and names every option and status of the check.
TEST(KitFlashes, HelpNamesEveryOptionAndStatus) {
    for (const char* asked : {"--help", "flashes --help", "flashes -h", "flashes --raw x.bgra --help"}) {
        SCOPED_TRACE(asked);
        const CommandResult run = runKit(asked);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "");
        for (const char* says : {"--rule wcag", "--rule broadcast", "--field WxH", "107/k x 80/k", "--csv FILE",
                                 "--heatmap FILE.png", "--plot FILE.png", "--verdict FILE", "PASS WITH WARNING",
                                 "1 for FAIL", "Exit status 2"})
            EXPECT_NE(run.out.find(says), std::string::npos) << says << "\n" << run.out;
    }
    const CommandResult check = runKit("check -h");
    EXPECT_EQ(check.exitCode, 0);
    EXPECT_NE(check.out.find("vokkit check [DIR]"), std::string::npos) << check.out;
    EXPECT_EQ(check.out.find("vokkit flashes [DIR]"), std::string::npos) << check.out;
}

struct StatusCase {
    const char* name;
    int frames, hold, fps;
    const char* options;
    int exitCode;
    const char* verdict;  // the start of the last line
};

// Exit status 0 for a pass, 0 for a pass with a warning, 1 for a failure,
// by the reading --rule names; a pipe reads as a file does.
TEST(KitFlashes, RawStreamsGetTheStatusOfTheReadingAsked) {
    TempDir dir;
    const StatusCase cases[] = {
        {"6 flashes a second", 120, 5, 60, "", 1, "FAIL (WCAG 2.3.1): 12 general transitions in the second to "},
        {"still", 60, 0, 60, "", 0, "PASS (WCAG 2.3.1): at most 0 general and 0 red transitions in any second in any 107x80 field"},
        {"3 a second", 120, 10, 60, "", 0, "PASS WITH WARNING (WCAG 2.3.1): 6 general transitions in the second to "},
        {"3 a second for 6 s", 36, 1, 6, "", 0, "PASS WITH WARNING (WCAG 2.3.1): 6 general transitions"},
        {"3 a second for 6 s, broadcast", 36, 1, 6, "--rule broadcast", 1,
         "FAIL (broadcast): extended flashing: seconds of 4 to 6 transitions over the whole screen add up to 4 s within the 5 s to 4.500 s"},
        {"6 a second in a field of the frame", 120, 5, 60, "--field 320x240", 1,
         "FAIL (WCAG 2.3.1): 12 general transitions in the second to 1.000 s in the 320x240 field at (0, 0)"},
    };
    for (const StatusCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = dir.write("stream.bgra", rawStream(c.frames, c.hold));
        const std::string options = " --fps " + std::to_string(c.fps) + " " + c.options;
        const CommandResult run = runKit("flashes --raw " + file + options);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.out << run.err;
        EXPECT_EQ(lastLine(run.out).rfind(c.verdict, 0), 0u) << run.out;
        const CommandResult pipe = runCapturingErrors("cat " + file + " | " VOK_KIT_BINARY " flashes --raw -" + options);
        EXPECT_EQ(pipe.exitCode, c.exitCode);
        EXPECT_EQ(pipe.out, run.out);
    }
}

// At 20 frames a second, which keeps it short; vokkit check gives the
// verdict at 60 (KitCheck). Every output file is written, and the render
// through --raw - gives the same figures frame by frame.
TEST(KitFlashes, TheProjectsShowGivesBothTablesAndItsFilesAlikeRenderedOrRaw) {
    TempDir dir;
    const CommandResult show = runKit("flashes " VOK_DATA_DIR " --fps 20 --plot " + dir.file("plot.png") + " --heatmap " +
                                      dir.file("heat.png") + " --csv " + dir.file("show.csv") + " --verdict " +
                                      dir.file("flashes.txt"));
    EXPECT_EQ(show.exitCode, 1) << show.out << show.err;
    // The data set's line; each reading's title, header, 14 scenes and the
    // whole show; the verdict.
    EXPECT_EQ(std::count(show.out.begin(), show.out.end(), '\n'), 1 + 2 * (2 + 14 + 1) + 1) << show.out;
    EXPECT_NE(show.out.find("\n    0  title fade-in        PASS      "), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("\n  all  the show             FAIL      "), std::string::npos) << show.out;
    for (const char* png : {"plot.png", "heat.png"}) {
        const std::vector<uint8_t> bytes = readFileBytes(dir.file(png));
        ASSERT_GT(bytes.size(), 8u) << png;
        EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 4), "PNG") << png;
    }
    const std::vector<uint8_t> verdict = readFileBytes(dir.file("flashes.txt"));
    EXPECT_EQ(std::string(verdict.begin(), verdict.end()).rfind("fail\n# ", 0), 0u);

    // Through a pipe: vokdemo's frames on its standard output, the mesh
    // reader's text on its standard error, unchanged.
    const CommandResult raw = runCapturingErrors(
        VOK_DEMO_BINARY " --data " VOK_DATA_DIR " --render --fps 20 --raw - 2>" + dir.file("text") +
        " | " VOK_KIT_BINARY " flashes --raw - --fps 20 --csv " + dir.file("raw.csv"));
    const CommandResult text = runCapturingErrors(VOK_DEMO_BINARY " --data " VOK_DATA_DIR " --render --fps 20 --frames 0-0");
    EXPECT_EQ(readText(dir.file("text")), text.out);
    EXPECT_EQ(raw.exitCode, 1) << raw.err;
    const std::vector<uint8_t> showCsv = readFileBytes(dir.file("show.csv")), rawCsv = readFileBytes(dir.file("raw.csv"));
    EXPECT_EQ(withoutScenes(std::string(rawCsv.begin(), rawCsv.end())),
              withoutScenes(std::string(showCsv.begin(), showCsv.end())));
    EXPECT_EQ(lastLine(raw.out).substr(0, lastLine(raw.out).find(", the stream")),
              lastLine(show.out).substr(0, lastLine(show.out).find(", scene")));
}

}  // namespace
