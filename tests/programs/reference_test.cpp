// The show pinned to reference output made from the project's data set: the
// mesh reader's progress text and, at 10 fps, the first, a middle and the last
// frame of every scene. Any change to a picture, a scene or the loading text
// shows here; the files in tests/reference are never remade to pass a test.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "demo/scenes.h"
#include "support/command.h"
#include "support/test_files.h"

namespace {

std::string renderAt10Fps() {
    CommandRun run = runCommand(std::string(VOK_DEMO_BINARY) + " --render --fps 10 --hash --data " VOK_DATA_DIR
                                " 2>/dev/null");
    EXPECT_EQ(run.exitCode, 0);
    return run.out;
}

TEST(ReferenceTest, LoadingTextAndSampledFramesMatchTheReference) {
    const std::string out = renderAt10Fps();
    const std::string text = readText(VOK_REFERENCE_DIR "/mesh-text.txt");
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(out.substr(0, text.size()), text) << "the mesh reader's progress text changed";
    EXPECT_EQ(out.compare(text.size(), 6, "frame "), 0) << "something is printed between the text and the frames";

    std::istringstream reference(readText(VOK_REFERENCE_DIR "/frames-10fps.txt"));
    std::string line;
    int checked = 0;
    while (std::getline(reference, line)) {
        ++checked;
        EXPECT_NE(out.find("\n" + line + "\n"), std::string::npos) << "frame differs from the reference: " << line;
    }
    EXPECT_EQ(checked, 3 * sceneCount);  // the first, a middle and the last frame of each
}

}  // namespace
