// The headless renderer as a program: vokdemo --render with the data set.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "demo/scenes.h"
#include "demo/show_seek.h"
#include "support/command.h"
#include "support/test_files.h"

namespace {

using DemoRun = CommandRun;

DemoRun runDemo(const std::string& arguments) {
    return runCommand(std::string(VOK_DEMO_BINARY) + " --render --data " VOK_DATA_DIR " " + arguments + " 2>/dev/null");
}

struct FrameLine {
    long long index;
    long long ms;
    int scene;
    std::string hash;
};

// The "frame K T_MS SCENE SHA256" lines of an output; fails on any other
// line after the first frame line.
std::vector<FrameLine> frameLines(const std::string& out) {
    static const std::regex pattern("frame (0|[1-9][0-9]*) (0|[1-9][0-9]*) (0|[1-9][0-9]?) ([0-9a-f]{64})");
    std::vector<FrameLine> lines;
    std::istringstream stream(out.substr(std::min(out.find("frame "), out.size())));
    std::string line;
    while (std::getline(stream, line)) {
        std::smatch m;
        EXPECT_TRUE(std::regex_match(line, m, pattern)) << "not a frame line: '" << line << "'";
        if (m.empty()) continue;
        lines.push_back({std::stoll(m[1]), std::stoll(m[2]), std::stoi(m[3]), m[4]});
    }
    return lines;
}

// The scene of a clock millisecond, from the first millisecond of every scene.
int sceneOfMillisecond(long long ms) {
    static const long long firsts[] = {8276,  16552, 24828, 28966, 33104, 37242, 41379,
                                       49655, 57931, 66207, 74483, 82758, 91034};
    int scene = 0;
    for (long long first : firsts) scene += ms >= first;
    return scene;
}

std::string sha256OfFileSlice(const std::string& path, size_t offset, size_t size) {
    std::vector<uint8_t> bytes = readFileBytes(path);
    if (bytes.size() < offset + size) return "";
    TempDir dir;
    std::string slice(bytes.begin() + offset, bytes.begin() + offset + size);
    std::string file = dir.write("frame.bin", slice);
    FILE* pipe = popen(("sha256sum " + file).c_str(), "r");
    char digest[65] = {};
    size_t n = pipe ? std::fread(digest, 1, 64, pipe) : 0;
    if (pipe) pclose(pipe);
    return std::string(digest, n);
}

constexpr size_t frameBytes = 307200;

// The frames the show outputs at `fps`: those before the first whose time,
// floor(k * 1000 / fps) ms, reaches the end step (the scene table's end).
size_t framesBeforeTheEnd(int fps) {
    size_t k = 0;
    while (static_cast<uint32_t>(k * 1000 / fps) < showEndMs()) ++k;
    return k;
}

}  // namespace

TEST(HeadlessRender, AtOneFrameASecondTheFramesAreTheWholeSecondsBeforeTheEnd) {
    DemoRun run = runDemo("--fps 1 --hash");
    ASSERT_EQ(run.exitCode, 0);
    std::vector<FrameLine> lines = frameLines(run.out);
    // The frame whose whole second reaches the first clock millisecond of the
    // end step takes it and is not output.
    ASSERT_EQ(lines.size(), framesBeforeTheEnd(1));
    for (size_t k = 0; k < lines.size(); ++k) {
        EXPECT_EQ(lines[k].index, static_cast<long long>(k));
        EXPECT_EQ(lines[k].ms, static_cast<long long>(k) * 1000);
        EXPECT_EQ(lines[k].scene, sceneOfMillisecond(lines[k].ms)) << "frame " << k;
    }
}

TEST(HeadlessRender, FrameTimesAreFlooredAndTheLastFrameComesBeforeTheEndStep) {
    const long long last = static_cast<long long>(framesBeforeTheEnd(7)) - 1;
    DemoRun run = runDemo("--fps 7 --hash --frames " + std::to_string(last - 5) + "-" + std::to_string(last + 300));
    ASSERT_EQ(run.exitCode, 0);
    std::vector<FrameLine> lines = frameLines(run.out);
    // The last frame is the last whose floored time comes before the end step.
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines.front().index, last - 5);
    EXPECT_EQ(lines.back().index, last);
    for (const FrameLine& line : lines) EXPECT_EQ(line.ms, line.index * 1000 / 7);
    EXPECT_EQ(lines.back().scene, sceneCount - 1);
}

TEST(HeadlessRender, TwoRunsGiveTheSameFrames) {
    DemoRun first = runDemo("--fps 5 --hash");
    DemoRun second = runDemo("--fps 5 --hash");
    ASSERT_EQ(first.exitCode, 0);
    EXPECT_EQ(first.out, second.out);
    std::vector<FrameLine> lines = frameLines(first.out);
    ASSERT_EQ(lines.size(), framesBeforeTheEnd(5));
    for (size_t k = 1; k < lines.size(); ++k) EXPECT_GE(lines[k].scene, lines[k - 1].scene);
    EXPECT_EQ(lines.back().scene, sceneCount - 1);
}

TEST(HeadlessRender, MeshLoaderTextComesBeforeTheFirstFrameLine) {
    DemoRun run = runDemo("--fps 1 --hash --frames 0-0");
    ASSERT_EQ(run.exitCode, 0);
    size_t firstFrame = run.out.find("frame 0 0 0 ");
    ASSERT_NE(firstFrame, std::string::npos);
    for (const char* name : {"v.ase", "o.ase", "k.ase", "e.ase", "test.ase"}) {
        size_t text = run.out.find(std::string("nombre vertex de ") + name);
        EXPECT_LT(text, firstFrame) << name;
    }
    EXPECT_EQ(frameLines(run.out).size(), 1u);
}

TEST(HeadlessRender, FrameRangeLimitsTheOutputNotTheRendering) {
    std::vector<FrameLine> all = frameLines(runDemo("--fps 10 --hash").out);
    std::vector<FrameLine> some = frameLines(runDemo("--fps 10 --hash --frames 497-503").out);
    ASSERT_EQ(some.size(), 7u);
    ASSERT_GT(all.size(), 503u);
    for (size_t i = 0; i < some.size(); ++i) {
        EXPECT_EQ(some[i].index, all[497 + i].index);
        EXPECT_EQ(some[i].hash, all[497 + i].hash) << "frame " << some[i].index;
    }
    // A range past the end of the show prints nothing and is no error.
    DemoRun past = runDemo("--fps 10 --hash --frames 5000-6000");
    EXPECT_EQ(past.exitCode, 0);
    EXPECT_TRUE(frameLines(past.out).empty());
}

TEST(HeadlessRender, TickCounterWrapGivesTheSameFrames) {
    DemoRun zero = runDemo("--fps 4 --hash");
    // 4294967000 wraps to 0 between frames 1 and 2 (at 296 ms).
    DemoRun nearWrap = runDemo("--fps 4 --hash --t0 4294967000");
    DemoRun atTop = runDemo("--fps 4 --hash --t0 4294967295");
    ASSERT_EQ(zero.exitCode, 0);
    EXPECT_EQ(zero.out, nearWrap.out);
    EXPECT_EQ(zero.out, atTop.out);
}

TEST(HeadlessRender, RawWritesTheFramesOfTheRangeOneAfterAnother) {
    TempDir dir;
    std::string all = dir.file("all.raw"), some = dir.file("some.raw");
    DemoRun hashes = runDemo("--fps 2 --hash --raw " + all);
    ASSERT_EQ(hashes.exitCode, 0);
    std::vector<FrameLine> lines = frameLines(hashes.out);
    ASSERT_EQ(lines.size(), 199u);  // 99,000 ms is the last
    EXPECT_EQ(readFileBytes(all).size(), lines.size() * frameBytes);
    for (size_t k : {size_t(0), size_t(20), size_t(100), size_t(150), size_t(198)})
        EXPECT_EQ(sha256OfFileSlice(all, k * frameBytes, frameBytes), lines[k].hash) << "frame " << k;

    ASSERT_EQ(runDemo("--fps 2 --raw " + some + " --frames 150-152").exitCode, 0);
    std::vector<uint8_t> allBytes = readFileBytes(all), someBytes = readFileBytes(some);
    ASSERT_EQ(someBytes.size(), 3 * frameBytes);
    EXPECT_TRUE(std::equal(someBytes.begin(), someBytes.end(), allBytes.begin() + 150 * frameBytes));
}

TEST(HeadlessRender, UnwritableRawFileIsAnErrorWithExitCode2) {
    DemoRun run = runDemo("--fps 1 --raw /nonexistent-dir/frames.raw");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(frameLines(run.out).size(), 0u);
}

// Binary frames would only garble a terminal: refused before any rendering.
TEST(HeadlessRender, RawToStandardOutputOnATerminalIsRefused) {
    TempDir dir;
    const std::string err = dir.file("stderr.txt");
    const std::string command = "script -qec '" VOK_DEMO_BINARY " --render --data " VOK_DATA_DIR
                                " --fps 1 --raw - 2>" + err + "' /dev/null >/dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_NE(readText(err).find("vokdemo: --raw - writes binary frames to standard output, which is a terminal"),
              std::string::npos) << readText(err);
}

TEST(HeadlessRender, FullDiskRemovesTheRawFile) {
    DemoRun run = runDemo("--fps 1 --raw /dev/full");
    EXPECT_EQ(run.exitCode, 2);
}

TEST(HeadlessRender, WriteErrorFromAFileSizeLimitRemovesThePartlyWrittenRawFile) {
    TempDir dir;
    std::string raw = dir.file("frames.raw"), err = dir.file("stderr.txt");
    // A limit of a few frames; with SIGXFSZ ignored the write past it fails with EFBIG.
    std::string command = "trap '' XFSZ; ulimit -f 2000; exec " VOK_DEMO_BINARY " --render --data " VOK_DATA_DIR
                          " --fps 1 --raw " + raw + " >/dev/null 2>" + err;
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    std::vector<uint8_t> message = readFileBytes(err);
    EXPECT_NE(std::string(message.begin(), message.end()).find("cannot write '" + raw + "'"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(raw));
}
