// The show pinned to reference output made from the project's data set: the
// mesh reader's progress text and, at 10 fps, the first, a middle and the last
// frame of every scene. Any change to a picture, a scene or the loading text
// shows here, with the differing frames as PNG pictures in the build folder
// (reference-failures/). The files in tests/reference are never remade to pass
// a test; VOK_UPDATE_REFERENCE=1 remakes them on purpose, when the data set
// changed, and the commit shows them.
#include <gtest/gtest.h>

#include <string>

#include "demo/scenes.h"
#include "programs/reference_check.h"
#include "support/test_files.h"

TEST(ReferenceTest, LoadingTextAndSampledFramesMatchTheReference) {
    const ReferenceRender render = renderForReference(VOK_DEMO_BINARY, VOK_DATA_DIR);
    ASSERT_FALSE(render.frameLines.empty()) << "the show rendered no frame";
    if (recordingReference()) {
        std::string error;
        ASSERT_TRUE(recordReference(render, VOK_REFERENCE_DIR, error)) << error;
        std::printf("VOK_UPDATE_REFERENCE=1: rewrote the reference in %s\n", VOK_REFERENCE_DIR);
        return;
    }
    for (const std::string& difference :
         referenceDifferences(render, VOK_REFERENCE_DIR, VOK_FAILURE_DIR, VOK_DEMO_BINARY, VOK_DATA_DIR))
        ADD_FAILURE() << difference;
    EXPECT_EQ(sampledFrames(render.frameLines).size(), size_t(3 * sceneCount));
}
