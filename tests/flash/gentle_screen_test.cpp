// --gentle: the pictures that reach the screen pass the flash check, for the
// worst synthetic flashes and for the project's own show at 60 Hz, and the
// work image is not touched.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "shell/show_run.h"
#include "display/gentle_screen.h"
#include "flash/flash_analyser.h"

namespace {

flash::KindCounts worse(flash::KindCounts a, const flash::FrameFigures& b) {
    a.general = std::max(a.general, b.wcag.general);
    a.red = std::max(a.red, b.wcag.red);
    return a;
}

bool failing(const flash::KindCounts& c) { return flash::statusOf(c.most()) == flash::Status::Fail; }

// Frames of one colour for the whole screen, changing every `hold` frames.
struct Strobe {
    const char* name;
    uint32_t a, b;  // pixel words, 0x00RRGGBB
    int hold;
};

TEST(GentleScreen, StrobesReachTheScreenBelowTheLimit) {
    const Strobe strobes[] = {
        {"black and white every frame", 0x000000, 0xFFFFFF, 1},
        {"black and white 6 a second", 0x000000, 0xFFFFFF, 5},
        {"black and red every frame", 0x000000, 0xFF0000, 1},
        {"red and blue 6 a second", 0xFF0000, 0x0000FF, 5},
    };
    for (const Strobe& s : strobes) {
        SCOPED_TRACE(s.name);
        GentleScreen gentle;
        flash::FlashAnalyser analyser;
        flash::KindCounts worst;
        Image work;
        for (int k = 0; k < 240; ++k) {
            const uint32_t word = (k / s.hold) % 2 ? s.b : s.a;
            for (int32_t i = 0; i < work.count(); ++i) std::memcpy(work.pixels + 4 * i, &word, 4);
            worst = worse(worst, analyser.addFrame(gentle.soften(work, headless::frameMilliseconds(k, 60)).pixels,
                                                   flash::frameMs(k, 60)));
        }
        EXPECT_FALSE(failing(worst)) << worst.general << " general, " << worst.red << " red";
    }
}

// The show as rendered fails (KitFlashes tests it); on screen it passes.
TEST(GentleScreen, TheShowOnScreenPassesAndItsFramesStayAsRendered) {
    MessageLog messages;
    headless::ShowRun run(60, 0, ShowContext(messages, DataFolder(VOK_DATA_DIR)));
    ASSERT_EQ(run.startFailure(), 0);
    GentleScreen gentle;
    flash::FlashAnalyser shown;
    flash::KindCounts worst;
    std::vector<uint8_t> before(screenBytes);
    while (run.renderNext()) {
        std::memcpy(before.data(), run.image().pixels, before.size());
        worst = worse(worst, shown.addFrame(gentle.soften(run.image(), run.milliseconds()).pixels, run.milliseconds()));
        ASSERT_EQ(std::memcmp(before.data(), run.image().pixels, before.size()), 0) << "frame " << run.frame();
    }
    EXPECT_FALSE(failing(worst)) << worst.general << " general, " << worst.red << " red";
}

}  // namespace
