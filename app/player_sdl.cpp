#include <SDL.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <thread>

#include "app/frame_pacer.h"
#include "app/runners.h"
#include "app/sdl_music.h"
#include "demo/demo.h"
#include "display/sdl_display.h"
#include "platform/platform.h"
#include "platform/posix_platform.h"
#include "wire3d/math3d.h"

// The live show: start-up in the fixed order, then the one loop on the one
// thread. Nothing is torn down at the end; the process takes it all with it.
namespace {

SdlMusic* music = nullptr;
SdlDisplay* display = nullptr;
Demo* demo = nullptr;
Uint32 showEndedEvent = 0;
std::unique_ptr<FramePacer> pacer;  // none with --no-vsync: frames come as fast as they can

uint32_t sdlTicks() { return SDL_GetTicks(); }

// Moves time zero back so the show begins `seconds` in; the first frame's
// delta stays the time since the clock was made.
void startShowAt(FrameClock& clock, double seconds) {
    const uint32_t skipped = static_cast<uint32_t>(seconds * 1000.0);
    clock.startTick -= skipped;
    clock.lastElapsed += static_cast<int32_t>(skipped);
}

double steadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void waitForNextFrame() {
    if (!pacer) return;
    const double pause = pacer->afterFrame(steadySeconds());
    if (pause > 0) std::this_thread::sleep_for(std::chrono::duration<double>(pause));
}

// Waiting events come first, one per pass; when none waits, one frame.
int runLoop() {
    SDL_Event event;
    for (;;) {
        if (SDL_PollEvent(&event)) {
            if (event.type == showEndedEvent) return 0;
            if (display->handleEvent(event)) return 0;
            continue;
        }
        demo->clock->tick();
        demo->renderFrame();
        display->present(*demo->workImage);
        display->flip();
        waitForNextFrame();
        // The end step draws nothing: its frame shows the last picture once
        // more, and the loop ends when it reaches the event.
        if (demo->quitRequested) {
            SDL_Event ended{};
            ended.type = showEndedEvent;
            SDL_PushEvent(&ended);
        }
    }
}

}  // namespace

int runPlayer(const Options& options) {
    platform::setTickCounter(sdlTicks);
    platform::setDataDirectory(options.dataDir);
    platform::installPosixKeyPoll();
    if (SDL_Init(SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        std::fprintf(stderr, "vokdemo: %s\n", SDL_GetError());
        return 1;
    }
    showEndedEvent = SDL_RegisterEvents(1);

    music = new SdlMusic();
    music->initialise();
    music->load("zumber.xm");

    DisplaySettings settings;
    settings.windowed = !options.fullscreen;
    settings.scale = options.scale;  // 0: the largest that fits the desktop
    settings.vsync = options.vsync;
    display = new SdlDisplay(settings);
    if (!display->isOpen()) {
        std::fprintf(stderr, "vokdemo: cannot open the screen: %s\n", display->failure().c_str());
        return 1;
    }
    if (options.vsync) pacer = std::make_unique<FramePacer>(display->refreshRate(), display->presentWaitsForRefresh());

    demo = new Demo();  // loads everything; its clock is time zero
    startShowAt(*demo->clock, options.startSeconds);
    music->play(options.startSeconds);
    fillAngleTables();
    const int exitCode = runLoop();
    music->stop();
    return exitCode;
}
