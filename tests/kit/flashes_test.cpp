// vokkit flashes: refusals of bad input, raw streams through a file and a
// pipe, and the project's data set, whose render through --raw gives the
// same answer as the data set itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "kit/kit_support.h"
#include "support/test_files.h"

namespace {

constexpr size_t frameBytes = 320 * 240 * 4;

// `seconds` at 60 frames a second, all black or flashing black and white 6
// times a second.
std::string rawStream(int seconds, bool flashing) {
    std::string bytes;
    for (int k = 0; k < seconds * 60; ++k) bytes += std::string(frameBytes, flashing && (k / 5) % 2 ? '\xff' : '\0');
    return bytes;
}

std::string lineWith(const std::string& text, const std::string& start) {
    const size_t at = text.find(start);
    return at == std::string::npos ? "" : text.substr(at, text.find('\n', at) - at);
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

TEST(KitFlashes, RawStreamsFromAFileOrAPipeGiveTheVerdictAndItsStatus) {
    TempDir dir;
    const std::string strobe = dir.write("strobe.bgra", rawStream(2, true));
    const std::string still = dir.write("still.bgra", rawStream(1, false));
    const CommandResult file = runKit("flashes --raw " + strobe + " --fps 60");
    EXPECT_EQ(file.exitCode, 1) << file.out << file.err;
    EXPECT_NE(file.out.find("\nfails: 6 general flashes in the second to "), std::string::npos) << file.out;
    const CommandResult pipe = runCapturingErrors("cat " + strobe + " | " VOK_KIT_BINARY " flashes --raw - --fps 60");
    EXPECT_EQ(pipe.exitCode, 1);
    EXPECT_EQ(pipe.out, file.out);
    const CommandResult calm = runKit("flashes --raw " + still + " --fps 60");
    EXPECT_EQ(calm.exitCode, 0) << calm.out << calm.err;
    EXPECT_NE(calm.out.find("worst: no flash at all\npasses: "), std::string::npos) << calm.out;
}

// At 20 frames a second, which keeps it short; vokkit check gives the
// verdict at 60 (KitCheck).
TEST(KitFlashes, TheProjectsShowFailsAlikeRenderedOrRaw) {
    TempDir dir;
    const CommandResult show = runKit("flashes " VOK_DATA_DIR " --fps 20 --plot " + dir.file("plot.png") +
                                      " --verdict " + dir.file("flashes.txt"));
    EXPECT_EQ(show.exitCode, 1) << show.out << show.err;
    EXPECT_EQ(std::count(show.out.begin(), show.out.end(), '\n'), 1 + 1 + 14 + 2) << show.out;
    EXPECT_NE(show.out.find("\n   11  credits jitter     "), std::string::npos) << show.out;
    const std::vector<uint8_t> png = readFileBytes(dir.file("plot.png"));
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
    const std::vector<uint8_t> verdict = readFileBytes(dir.file("flashes.txt"));
    EXPECT_EQ(std::string(verdict.begin(), verdict.end()).rfind("fail\nfails: ", 0), 0u);

    // Through a named pipe: vokdemo's standard output carries the mesh text.
    const std::string pipe = dir.file("frames");
    const CommandResult raw = runCapturingErrors(
        "{ mkfifo " + pipe + " && " VOK_DEMO_BINARY " --data " VOK_DATA_DIR " --render --fps 20 --raw " + pipe +
        " >/dev/null 2>&1 & " VOK_KIT_BINARY " flashes --raw " + pipe + " --fps 20; status=$?; wait; exit $status; }");
    EXPECT_EQ(raw.exitCode, 1) << raw.err;
    // The same flashes; the raw stream knows no scenes.
    const std::string worst = lineWith(show.out, "worst: ");
    EXPECT_EQ(lineWith(raw.out, "worst: "), worst.substr(0, worst.find(", scene")) + ", the stream");
}

}  // namespace
