#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "shell/show_run.h"
#include "support/test_data.h"
#include "support/test_files.h"

namespace {

// FNV-1a of a frame.
uint64_t frameHash(const Image& image) {
    uint64_t hash = 14695981039346656037ull;
    for (int64_t i = 0; i < static_cast<int64_t>(image.count()) * 4; ++i) hash = (hash ^ image.pixels[i]) * 1099511628211ull;
    return hash;
}

struct Show {
    std::string folder;
    int fps;
    uint32_t t0;
};

std::vector<uint64_t> alone(const Show& show) {
    MessageLog messages;
    headless::ShowRun run(show.fps, show.t0, ShowContext(messages, DataFolder(show.folder)));
    std::vector<uint64_t> frames;
    while (run.renderNext()) frames.push_back(frameHash(run.image()));
    return frames;
}

}  // namespace

// Nothing of a show is process-wide: two shows with their own clocks and
// data folders, stepped in turn in one process, each draw what they draw alone.
TEST(ShowRun, TwoShowsWithTheirOwnClocksAndFoldersSideBySide) {
    TempDir first, second;
    writeTestDataSet(first.path());
    writeTestDataSet(second.path());
    const std::vector<uint8_t> other = makePcx(320, 240, [](int x, int y) { return 0x102030u * ((x ^ y) & 7); });
    std::ofstream(second.file("vok_zumber.pcx"), std::ios::binary)
        .write(reinterpret_cast<const char*>(other.data()), static_cast<std::streamsize>(other.size()));
    const Show a{first.path(), 5, 0}, b{second.path(), 3, 4294960000u};

    MessageLog messagesA, messagesB;
    headless::ShowRun runA(a.fps, a.t0, ShowContext(messagesA, DataFolder(a.folder)));
    headless::ShowRun runB(b.fps, b.t0, ShowContext(messagesB, DataFolder(b.folder)));
    std::vector<uint64_t> framesA, framesB;
    for (bool goesOn = true; goesOn;) {
        goesOn = false;
        if (runA.renderNext()) framesA.push_back(frameHash(runA.image())), goesOn = true;
        if (runB.renderNext()) framesB.push_back(frameHash(runB.image())), goesOn = true;
    }
    EXPECT_EQ(framesA, alone(a));
    EXPECT_EQ(framesB, alone(b));
    ASSERT_GT(framesB.size(), 6u);
    EXPECT_NE(framesA[10], framesB[6]) << "at 2 s the second folder's title should show";
}
