// The scene added by following docs/architecture.md ("How to add a scene"):
// this program is built with a copy of demo/scene_table.cpp to which
// apply_recipe.cmake added the document's draw step and row, against the rest
// of the core, the option parser, the chapter builder and the flash report
// unchanged. The show then has the new scene as its last: it draws, the show
// ends at its bound, and everything that lists scenes lists it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/capture/capture_clip.h"
#include "app/cli/options.h"
#include "demo/scenes.h"
#include "flash/flash_record.h"
#include "image/pcx.h"
#include "shell/show_run.h"

namespace {

const int added = sceneCount - 1;

bool parses(const std::string& arguments, std::string& error) {
    std::vector<std::string> words{"vokdemo", "--png", "frames", "--scene", arguments};
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    Options options;
    return parseOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

}  // namespace

TEST(SceneRecipe, TheAddedSceneIsShownAndTheShowEndsAfterIt) {
    ASSERT_EQ(sceneCount, VOK_SCENES_BEFORE + 1) << "the recipe adds one row";
    MessageLog messages;
    headless::ShowRun run(10, 0, ShowContext(messages, DataFolder(VOK_DATA_DIR)));
    ASSERT_EQ(run.startFailure(), 0);

    std::vector<int> framesOf(sceneCount, 0);
    std::vector<uint8_t> during;
    flash::FlashRecord record;
    record.fps = 10;
    while (run.renderNext()) {
        ++framesOf[run.scene()];
        record.add({}, run.scene());
        if (run.scene() == added && during.empty()) during.assign(run.image().pixels, run.image().pixels + screenBytes);
    }
    for (int scene = 0; scene < sceneCount; ++scene) EXPECT_GT(framesOf[scene], 0) << sceneTable[scene].name;
    // The sweep draws its bar of light over the picture its row names.
    MessageLog quiet;
    const std::unique_ptr<Image> logo = loadPcx(ShowContext(quiet, DataFolder(VOK_DATA_DIR)), sceneTable[added].files[0]);
    ASSERT_EQ(during.size(), static_cast<size_t>(screenBytes));
    EXPECT_NE(std::vector<uint8_t>(logo->pixels, logo->pixels + screenBytes), during) << "no bar drawn";
    // The show ends at the added row's bound, not at the old end.
    EXPECT_LT(run.milliseconds() * 0.001, sceneTable[added].end);
    EXPECT_GE((run.milliseconds() + 100) * 0.001, sceneTable[added].end - 0.001);

    // The flash report's scenes end with it.
    const std::vector<flash::SceneSpan> spans = flash::sceneSpans(record);
    ASSERT_EQ(spans.size(), static_cast<size_t>(sceneCount));
    EXPECT_EQ(spans.back().scene, added);
}

TEST(SceneRecipe, TheOptionsAndTheChaptersKnowTheAddedScene) {
    std::string error;
    EXPECT_TRUE(parses(std::to_string(added), error)) << error;
    EXPECT_FALSE(parses(std::to_string(added + 1), error));
    EXPECT_NE(std::string(usageText()).find(sceneTable[added].name), std::string::npos);

    Options whole;
    Clip clip;
    ASSERT_TRUE(chooseClip(whole, 10, clip, error)) << error;
    const std::vector<Chapter> chapters = clipChapters(clip);
    ASSERT_EQ(chapters.size(), static_cast<size_t>(sceneCount));
    EXPECT_EQ(chapters.back().title, sceneTable[added].name);
}
