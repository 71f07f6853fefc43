#include "shell/show_start.h"

#include <cstdint>

#include "wire3d/math3d.h"

namespace {

// Moves time zero back so the show begins `seconds` in; the first frame's
// delta stays the time since the clock was made.
void startClockAt(FrameClock& clock, double seconds) {
    const uint32_t skipped = static_cast<uint32_t>(seconds * 1000.0);
    clock.startTick -= skipped;
    clock.lastElapsed += static_cast<int32_t>(skipped);
}

}  // namespace

ShowStart startShow(Backend& backend, const ShowContext& context, double startSeconds) {
    ShowStart start;
    backend.initialiseMusic();
    backend.loadMusic(context.data.path(moduleFile));
    if (!backend.openDisplay()) {
        start.exitCode = 1;
        return start;
    }
    auto demo = std::make_unique<Demo>(context);
    if (!demo->missingMesh().empty()) {
        context.messages.text("ia pas le file " + demo->missingMesh());
        start.exitCode = 1;
        return start;
    }
    if (startSeconds > 0) startClockAt(*demo->clock, startSeconds);
    backend.playMusic(startSeconds);
    fillAngleTables();
    start.demo = std::move(demo);
    return start;
}

bool stepFrame(Demo& demo, Backend& backend) {
    demo.clock->tick();
    return showFrame(demo, backend);
}

bool showFrame(Demo& demo, Backend& backend) {
    demo.renderFrame();
    backend.present(demo.state->workImage);
    backend.flip();
    return !demo.state->quitRequested;
}
