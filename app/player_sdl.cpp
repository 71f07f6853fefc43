#include <SDL.h>

#include <cmath>
#include <cstdint>
#include <cstdio>

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

// The show's tick counter. While the music plays it follows the music the
// listener hears, counted from the tick at which the music started, so that
// a wall clock running at another pace than the sound card cannot move the
// picture off the beat; it never runs backwards. Without sound it is SDL's
// millisecond counter.
struct ShowTicks {
    uint32_t musicStart = 0;
    uint32_t last = 0;
    bool following = false;
};
ShowTicks showTicks;

uint32_t sdlTicks() {
    const double heard = showTicks.following ? music->heardMs() : -1;
    if (heard < 0) return SDL_GetTicks();
    uint32_t now = showTicks.musicStart + static_cast<uint32_t>(std::lround(heard));
    if (static_cast<int32_t>(now - showTicks.last) < 0) now = showTicks.last;
    showTicks.last = now;
    return now;
}

void followTheMusic() {
    if (!music->isPlaying()) return;
    showTicks.musicStart = showTicks.last = SDL_GetTicks();
    showTicks.following = true;
}

// With --sync-log, one line on standard error at every change of scene: the
// show's time, the time of the music the listener hears on the show's clock,
// and how far the picture is ahead of the music.
void logSync(const FrameClock& clock, int scene) {
    const double heard = music->heardMs();
    const uint32_t showMs = platform::tickCount() - clock.startTick;
    if (heard < 0) {
        std::fprintf(stderr, "vokdemo: sync scene %d show %u ms, no music\n", scene, showMs);
        return;
    }
    const double musicMs = heard + static_cast<double>(static_cast<int32_t>(showTicks.musicStart - clock.startTick));
    std::fprintf(stderr, "vokdemo: sync scene %d show %u ms music %.1f ms offset %.1f ms\n", scene, showMs, musicMs,
                 showMs - musicMs);
}

// Moves time zero back so the show begins `seconds` in; the first frame's
// delta stays the time since the clock was made.
void startShowAt(FrameClock& clock, double seconds) {
    const uint32_t skipped = static_cast<uint32_t>(seconds * 1000.0);
    clock.startTick -= skipped;
    clock.lastElapsed += static_cast<int32_t>(skipped);
}

// Waiting events come first, one per pass; when none waits, one frame.
int runLoop(bool syncLog) {
    SDL_Event event;
    int scene = -1;
    for (;;) {
        if (SDL_PollEvent(&event)) {
            if (event.type == showEndedEvent) return 0;
            if (display->handleEvent(event)) return 0;
            continue;
        }
        demo->clock->tick();
        demo->renderFrame();
        if (syncLog && demo->lastScene != scene) logSync(*demo->clock, demo->lastScene);
        scene = demo->lastScene;
        display->present(*demo->workImage);
        display->flip();
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
    settings.scale = options.scale > 0 ? options.scale : 1;
    settings.vsync = options.vsync;
    display = new SdlDisplay(settings);
    if (!display->isOpen()) {
        std::fprintf(stderr, "vokdemo: cannot open the screen: %s\n", display->failure().c_str());
        return 1;
    }

    demo = new Demo();  // loads everything; its clock is time zero
    startShowAt(*demo->clock, options.startSeconds);
    music->play(options.startSeconds);
    followTheMusic();
    fillAngleTables();
    const int exitCode = runLoop(options.syncLog);
    music->stop();
    return exitCode;
}
