// vokdemo --verify against the frame table beside a data set: the build's
// own, one made by vokkit check --table for a data set with one pixel of one
// picture changed (converted with vokkit picture from a picture ImageMagick
// wrote), and tables that cannot be used.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "image/pcx.h"
#include "kit/kit_support.h"
#include "support/test_files.h"

namespace {

std::string verifyCommand(const std::string& data) { return std::string(VOK_DEMO_BINARY) + " --verify --data " + data; }

// The "frame K T_MS SCENE SHA256" lines of a render at 60 fps.
std::vector<std::string> frameLines(const std::string& data) {
    const CommandResult run =
        runCapturingErrors(std::string(VOK_DEMO_BINARY) + " --render --fps 60 --hash --data " + data);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::string> lines;
    std::istringstream in(run.out);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("frame ", 0) == 0) lines.push_back(line);
    return lines;
}

int differingPixels(const std::string& a, const std::string& b) {
    MessageLog ignored;
    const ShowContext context(ignored);
    const std::unique_ptr<Image> first = loadPcx(context, a.c_str()), second = loadPcx(context, b.c_str());
    if (first->count() != second->count()) return -1;
    int count = 0;
    for (int32_t i = 0; i < first->count(); ++i) count += std::memcmp(first->pixels + 4 * i, second->pixels + 4 * i, 3) != 0;
    return count;
}

TEST(Verify, TheBuildsDataSetShowsItsTable) {
    const std::string table = readText(std::string(VOK_DATA_DIR) + "/frames.sha256");
    const CommandResult run = runCapturingErrors(verifyCommand(VOK_DATA_DIR));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "verified: " + std::to_string(std::count(table.begin(), table.end(), '\n')) +
                           " frames identical\n");
}

TEST(Verify, OneChangedPixelIsFoundAtTheFirstFrameThatShowsIt) {
    TempDir work;
    const std::string data = work.file("data");
    copyDataSet(data);
    const std::string picture = data + "/vok_logo.pcx";
    ASSERT_EQ(runCapturingErrors("convert " + picture + " -fill 'rgb(1,2,3)' -draw 'point 160,120' " +
                                 work.file("changed.png")).exitCode,
              0);
    ASSERT_EQ(runKit("picture " + work.file("changed.png") + " " + picture).exitCode, 0);
    ASSERT_EQ(differingPixels(picture, std::string(VOK_DATA_DIR) + "/vok_logo.pcx"), 1);

    // The first frame that shows it: where the renders of both data sets part.
    const std::vector<std::string> original = frameLines(VOK_DATA_DIR), changed = frameLines(data);
    ASSERT_EQ(original.size(), changed.size());
    size_t first = 0;
    while (first < original.size() && original[first] == changed[first]) ++first;
    ASSERT_LT(first, original.size()) << "the changed pixel is never drawn";
    std::istringstream fields(original[first]);
    std::string word, hash;
    long long frame = 0, ms = 0;
    int scene = 0;
    fields >> word >> frame >> ms >> scene >> hash;
    EXPECT_GT(frame, 0);

    const CommandResult run = runCapturingErrors(verifyCommand(data));
    EXPECT_EQ(run.exitCode, 1) << run.err;
    char where[100];
    std::snprintf(where, sizeof where, "differs: frame %lld at %lld.%03lld s, scene %d (", frame, ms / 1000, ms % 1000,
                  scene);
    EXPECT_EQ(run.out.rfind(where, 0), 0u) << run.out;
    EXPECT_NE(run.out.find("this machine made " + changed[first].substr(changed[first].size() - 64) +
                           ", the table has " + hash + "\n"),
              std::string::npos)
        << run.out;

    // The kit makes the table of a data set of one's own, which then verifies.
    const CommandResult check = runKit("check " + data + " --no-flashes --table");
    EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
    EXPECT_NE(check.out.find("frames.sha256   " + std::to_string(original.size()) + " frames at 60 fps"),
              std::string::npos)
        << check.out;
    EXPECT_EQ(runCapturingErrors(verifyCommand(data)).out,
              "verified: " + std::to_string(original.size()) + " frames identical\n");
}

TEST(Verify, ATableThatCannotBeUsedEndsWithStatusTwoAndOneLine) {
    TempDir work;
    const std::string data = work.file("data");
    copyDataSet(data);
    const std::string table = data + "/frames.sha256";
    const std::string good = readText(table);
    const std::string secondLineChanged =
        good.substr(0, good.find('\n') + 1) + "frame 1 16 0 not-a-hash\n" + good.substr(good.find('\n', good.find('\n') + 1) + 1);
    const struct {
        const char* name;
        std::string contents;  // written unless the table is to be missing or a folder
        std::string says;
    } cases[] = {
        {"missing", "", "frames.sha256: No such file or directory (vokkit check --table makes it)"},
        {"a folder", "", "frames.sha256: Is a directory"},
        {"empty", "", "frames.sha256: it has 0 lines; the show has"},
        {"cut short", good.substr(0, good.size() / 2), "frames.sha256: it has "},
        {"a bad line", secondLineChanged, "frames.sha256: line 2 is not \"frame 1 T_MS SCENE SHA256\""},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(table);
        if (std::string(c.name) == "a folder") std::filesystem::create_directory(table);
        if (std::string(c.name) != "missing" && std::string(c.name) != "a folder") {
            std::ofstream(table, std::ios::binary) << c.contents;
        }
        const CommandResult run = runCapturingErrors(verifyCommand(data));
        EXPECT_EQ(run.exitCode, 2) << c.name;
        EXPECT_EQ(run.out, "") << c.name;
        EXPECT_EQ(run.err.rfind("vokdemo: cannot verify: " + table, 0), 0u) << c.name << ": " << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.name << ": " << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << c.name << ": " << run.err;
    }
}

}  // namespace
