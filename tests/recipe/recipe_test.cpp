// The scene added by following docs/architecture.md ("How to add a scene"):
// this program is built with a copy of demo/scene_table.cpp to which
// apply_recipe.cmake added the document's draw step and row, against the
// rest of the core unchanged. The show then has the new scene as its last:
// every scene gets frames, the new one draws, and the show ends at its bound.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "demo/scenes.h"
#include "shell/show_run.h"

TEST(SceneRecipe, TheAddedSceneIsShownAndTheShowEndsAfterIt) {
    ASSERT_EQ(sceneCount, VOK_SCENES_BEFORE + 1) << "the recipe adds one row";
    MessageLog messages;
    headless::ShowRun run(10, 0, ShowContext(messages, DataFolder(VOK_DATA_DIR)));
    ASSERT_EQ(run.startFailure(), 0);

    const int added = sceneCount - 1;
    std::vector<int> framesOf(sceneCount, 0);
    std::vector<uint8_t> previous, before, during;
    while (run.renderNext()) {
        ++framesOf[run.scene()];
        std::vector<uint8_t> shown(run.image().pixels, run.image().pixels + screenBytes);
        if (run.scene() == added && during.empty()) {
            before = previous;
            during = shown;
        }
        previous = std::move(shown);
    }
    for (int scene = 0; scene < sceneCount; ++scene) EXPECT_GT(framesOf[scene], 0) << sceneTable[scene].name;
    EXPECT_NE(during, before) << "the added scene's draw step drew nothing";
    // The show ends at the added row's bound, not at the old end.
    EXPECT_LT(run.milliseconds() * 0.001, sceneTable[added].end);
    EXPECT_GE((run.milliseconds() + 100) * 0.001, sceneTable[added].end - 0.001);
}
