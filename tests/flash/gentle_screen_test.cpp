// --gentle on the project's show at 60 Hz: what reaches the screen passes
// both readings, every frame before the show's first flashing second is
// shown as rendered, and the work image is never touched.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "flash/flash_record.h"
#include "flash/gentle_screen.h"
#include "shell/show_run.h"

namespace {

bool warns(const flash::FrameFigures& f) {
    return flash::wcagStatus(f) != flash::Status::Pass || flash::broadcastStatus(f) != flash::Status::Pass;
}

TEST(GentleScreen, TheShowOnScreenPassesAndIsShownAsRenderedUntilItFlashes) {
    MessageLog messages;
    headless::ShowRun run(60, 0, ShowContext(messages, DataFolder(VOK_DATA_DIR)));
    ASSERT_EQ(run.startFailure(), 0);
    GentleScreen gentle;
    flash::FlashAnalyser rendered, onScreen;
    flash::FlashRecord shownRecord;
    std::vector<uint8_t> before(screenBytes);
    bool flashedYet = false;
    int firstHeld = -1;
    while (run.renderNext()) {
        std::memcpy(before.data(), run.image().pixels, before.size());
        flashedYet = flashedYet || warns(rendered.addFrame(run.image().pixels, run.milliseconds()));
        const Image& shown = gentle.show(run.image(), run.milliseconds());
        ASSERT_EQ(std::memcmp(before.data(), run.image().pixels, before.size()), 0) << "frame " << run.frame();
        if (std::memcmp(before.data(), shown.pixels, before.size()) != 0 && firstHeld < 0) firstHeld = run.frame();
        if (!flashedYet) {
            ASSERT_LT(firstHeld, 0) << "frame " << run.frame() << " held back before any flashing";
        }
        shownRecord.add(onScreen.addFrame(shown.pixels, run.milliseconds()), -1);
    }
    EXPECT_GE(firstHeld, 0) << "the show fails the check, so something must be held back";
    for (flash::Reading reading : {flash::Reading::Wcag, flash::Reading::Broadcast})
        EXPECT_NE(flash::summarise(shownRecord, reading, 0, shownRecord.frames.size()).status, flash::Status::Fail);
}

}  // namespace
