// The frame table: its lines read strictly, and the verdicts of a run
// compared with it, each in the one line the programs print.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "demo/scenes.h"
#include "verify/frame_table.h"

namespace {

using verify::FrameLine;

const std::string hashA(64, 'a'), hashB(64, 'b'), hashC(64, 'c');

// Three frames at 60 fps in scene 0, then the text of their table.
const std::vector<FrameLine> three = {{0, 0, 0, hashA}, {1, 16, 0, hashB}, {2, 33, 0, hashC}};
const std::string threeText = "frame 0 0 0 " + hashA + "\nframe 1 16 0 " + hashB + "\nframe 2 33 0 " + hashC + "\n";

TEST(FrameTable, LinesAreTheHashOptionsLines) {
    const uint8_t bytes[3] = {'a', 'b', 'c'};
    const FrameLine line = verify::hashFrame(7, 116, 3, bytes, 3);
    EXPECT_EQ(verify::frameLineText(line),
              "frame 7 116 3 ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST(FrameTable, ReadsATableWithOrWithoutTheLastLineEndAndWithCarriageReturns) {
    for (const std::string& text : {threeText, threeText.substr(0, threeText.size() - 1),
                                    "frame 0 0 0 " + hashA + "\r\nframe 1 16 0 " + hashB + "\r\nframe 2 33 0 " + hashC}) {
        const verify::FrameTable table = verify::parseFrameTable(text, 3);
        ASSERT_EQ(table.problem, "");
        ASSERT_EQ(table.lines.size(), 3u);
        EXPECT_EQ(table.lines[1].frame, 1);
        EXPECT_EQ(table.lines[1].milliseconds, 16u);
        EXPECT_EQ(table.lines[2].hash, hashC);
    }
}

TEST(FrameTable, NamesTheFirstBadLineOrTheWrongCount) {
    const std::string good0 = "frame 0 0 0 " + hashA + "\n", good2 = "frame 2 33 0 " + hashC + "\n";
    const struct {
        std::string text;
        std::string problem;
    } cases[] = {
        {"", "it has 0 lines; the show has 3 frames at 60 fps"},
        {good0 + good2, "it has 2 lines; the show has 3 frames at 60 fps"},
        {threeText + "\n", "it has 4 lines; the show has 3 frames at 60 fps"},
        {good0 + "frame 2 16 0 " + hashB + "\n" + good2, "line 2 is not \"frame 1 T_MS SCENE SHA256\""},
        {good0 + "frame 1 16 0 " + std::string(64, 'B') + "\n" + good2, "line 2 is not \"frame 1 T_MS SCENE SHA256\""},
        {good0 + "frame 1 16 0 " + hashB.substr(1) + "\n" + good2, "line 2 is not \"frame 1 T_MS SCENE SHA256\""},
        {good0 + "frame 1 16 " + std::to_string(sceneCount) + " " + hashB + "\n" + good2,
         "line 2 is not \"frame 1 T_MS SCENE SHA256\""},
        {good0 + "frame 1 -16 0 " + hashB + "\n" + good2, "line 2 is not \"frame 1 T_MS SCENE SHA256\""},
        {good0 + "frame 1 4294967296 0 " + hashB + "\n" + good2, "line 2 is not \"frame 1 T_MS SCENE SHA256\""},
        {good0 + "frame 1  16 0 " + hashB + "\n" + good2, "line 2 is not \"frame 1 T_MS SCENE SHA256\""},
        {good0 + "frame 1 16 0 " + hashB + " extra\n" + good2, "line 2 is not \"frame 1 T_MS SCENE SHA256\""},
        {good0 + "\n" + good2, "line 2 is not \"frame 1 T_MS SCENE SHA256\""},
        {"frame 0 0 0 " + hashA + "\nframe 1 16 0 " + hashB + "\nframe 2 33 0", "line 3 is not \"frame 2 T_MS SCENE SHA256\""},
    };
    for (const auto& c : cases) {
        const verify::FrameTable table = verify::parseFrameTable(c.text, 3);
        EXPECT_EQ(table.problem, c.problem) << c.text;
        EXPECT_TRUE(table.lines.empty());
    }
    EXPECT_EQ(verify::tableVerdict("x: it has 0 lines").status, 2);
    EXPECT_EQ(verify::tableVerdict("x: it has 0 lines").line, "cannot verify: x: it has 0 lines");
}

// The verdict after handing over `rendered` until the verifier says stop.
verify::Verdict verdictOf(const std::vector<FrameLine>& rendered, size_t* taken = nullptr) {
    verify::FrameVerifier verifier(three);
    size_t count = 0;
    for (const FrameLine& line : rendered) {
        ++count;
        if (!verifier.take(line)) break;
    }
    if (taken) *taken = count;
    return verifier.verdict();
}

TEST(FrameTable, VerdictsOfARun) {
    std::vector<FrameLine> changed = three;
    changed[1].hash = hashC;
    std::vector<FrameLine> moved = three;
    moved[2].milliseconds = 50;
    std::vector<FrameLine> longer = three;
    longer.push_back({3, 50, 0, hashA});
    const struct {
        std::vector<FrameLine> rendered;
        int status;
        std::string line;
    } cases[] = {
        {three, 0, "verified: 3 frames identical"},
        {changed, 1,
         "differs: frame 1 at 0.016 s, scene 0 (title fade-in): this machine made " + hashC + ", the table has " + hashB},
        {moved, 1,
         "differs: frame 2 is at 0.050 s, scene 0 (title fade-in) here, and at 0.033 s, scene 0 (title fade-in) in "
         "the table"},
        {{three[0], three[1]}, 1, "differs: the show ended after 2 frames, and the table has 3"},
        {longer, 1, "differs: frame 3 at 0.050 s, scene 0 (title fade-in) is past the table's 3 frames"},
    };
    for (const auto& c : cases) {
        const verify::Verdict verdict = verdictOf(c.rendered);
        EXPECT_EQ(verdict.status, c.status) << c.line;
        EXPECT_EQ(verdict.line, c.line);
    }
    size_t taken = 0;
    std::vector<FrameLine> firstDiffers = three;
    firstDiffers[0].hash = hashB;
    verdictOf(firstDiffers, &taken);
    EXPECT_EQ(taken, 1u) << "the run may stop at the first difference";
    EXPECT_EQ(verify::FrameVerifier::notStarted("ia pas le file v.ase").line,
              "differs: the show stopped at start: ia pas le file v.ase");
}

}  // namespace
