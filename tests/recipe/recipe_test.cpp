// The scene added by following docs/architecture.md ("How to add a scene"):
// this program is built with a copy of demo/scene_table.cpp to which
// apply_recipe.cmake added the document's draw step and row, against the
// rest of the core unchanged. The show then has the new scene as its last:
// every scene gets frames, the new one draws, and the show ends at its bound.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "demo/demo.h"
#include "demo/scenes.h"
#include "platform/platform.h"
#include "wire3d/math3d.h"

namespace {

uint32_t virtualTicks = 0;
uint32_t readVirtualTicks() { return virtualTicks; }

}  // namespace

TEST(SceneRecipe, TheAddedSceneIsShownAndTheShowEndsAfterIt) {
    ASSERT_EQ(sceneCount, VOK_SCENES_BEFORE + 1) << "the recipe adds one row";
    platform::setDataDirectory(VOK_DATA_DIR);
    platform::setTickCounter(readVirtualTicks);
    fillAngleTables();
    MessageLog messages;
    Demo demo(messages);
    ASSERT_TRUE(demo.missingMesh().empty());

    const int added = sceneCount - 1;
    std::vector<int> framesOf(sceneCount + 1, 0);
    std::vector<uint8_t> before, during;
    for (uint32_t frame = 0;; ++frame) {
        virtualTicks = frame * 100;  // 10 frames a second
        demo.clock->tick();
        const bool first = during.empty() && sceneForTime(static_cast<float>(demo.clock->elapsedSeconds())) == added;
        if (first) before.assign(demo.workImage->pixels, demo.workImage->pixels + screenBytes);
        demo.renderFrame();
        ++framesOf[demo.lastScene];
        if (first) during.assign(demo.workImage->pixels, demo.workImage->pixels + screenBytes);
        if (demo.quitRequested) break;
    }
    for (int scene = 0; scene < sceneCount; ++scene) EXPECT_GT(framesOf[scene], 0) << sceneTable[scene].name;
    EXPECT_EQ(framesOf[sceneEnd], 1);
    EXPECT_NE(during, before) << "the added scene's draw step drew nothing";
    // The show ends at the added row's bound, not at the old end.
    EXPECT_GE(virtualTicks * 0.001, sceneTable[added].end - 0.001);
    EXPECT_LT(virtualTicks * 0.001, sceneTable[added].end + 0.1);
}
