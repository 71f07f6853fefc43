#include <SDL.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <thread>

#include "app/cli/runners.h"
#include "app/sdl/frame_pacer.h"
#include "app/sdl/sdl_music.h"
#include "app/shell/show_start.h"
#include "app/shell/stdio_messages.h"
#include "display/sdl_display.h"
#include "platform/platform.h"
#include "platform/posix_platform.h"

// The live show: the shared start-up, then the one loop on the one thread.
// Nothing is torn down at the end; the process takes it all with it.
namespace {

uint32_t sdlTicks() { return SDL_GetTicks(); }

std::unique_ptr<FramePacer> pacer;  // none with --no-vsync: frames come as fast as they can

double steadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void waitForNextFrame() {
    if (!pacer) return;
    const double pause = pacer->afterFrame(steadySeconds());
    if (pause > 0) std::this_thread::sleep_for(std::chrono::duration<double>(pause));
}

// What the SDL player supplies to the shared start-up and frame step.
class SdlBackend : public Backend {
public:
    explicit SdlBackend(const DisplaySettings& settings) : settings_(settings) {}

    void initialiseMusic() override { music_.initialise(); }
    void loadMusic(const char* fileName) override { music_.load(fileName); }
    bool openDisplay() override {
        display_ = new SdlDisplay(settings_);  // never deleted
        if (display_->isOpen()) {
            if (settings_.vsync) {
                pacer = std::make_unique<FramePacer>(display_->refreshRate(), display_->presentWaitsForRefresh());
            }
            return true;
        }
        std::fprintf(stderr, "vokdemo: cannot open the screen: %s\n", display_->failure().c_str());
        return false;
    }
    void playMusic(double startSeconds) override { music_.play(startSeconds); }
    void present(const Image& work) override { display_->present(work); }
    void flip() override { display_->flip(); }

    SdlDisplay& display() { return *display_; }
    SdlMusic& music() { return music_; }

private:
    DisplaySettings settings_;
    SdlMusic music_;
    SdlDisplay* display_ = nullptr;
};

// Waiting events come first, one per pass; when none waits, one frame. The
// frame that takes the end step shows the last picture once more, and the
// loop ends when it reaches the event that frame posted.
int runLoop(Demo& demo, SdlBackend& backend, Uint32 showEndedEvent) {
    SDL_Event event;
    for (;;) {
        if (SDL_PollEvent(&event)) {
            if (event.type == showEndedEvent) return 0;
            if (backend.display().handleEvent(event)) return 0;
            continue;
        }
        if (!stepFrame(demo, backend)) {
            SDL_Event ended{};
            ended.type = showEndedEvent;
            SDL_PushEvent(&ended);
        }
        waitForNextFrame();
    }
}

// The show's objects live to the end of the process, reachable from here.
StdioMessages messages;
SdlBackend* backend = nullptr;
Demo* demo = nullptr;

}  // namespace

int runPlayer(const Options& options) {
    platform::setTickCounter(sdlTicks);
    platform::setDataDirectory(options.dataDir);
    platform::installPosixKeyPoll();
    if (SDL_Init(SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        std::fprintf(stderr, "vokdemo: %s\n", SDL_GetError());
        return 1;
    }
    const Uint32 showEndedEvent = SDL_RegisterEvents(1);

    DisplaySettings settings;
    settings.windowed = !options.fullscreen;
    settings.scale = options.scale;  // 0: the largest that fits the desktop
    settings.vsync = options.vsync;
    backend = new SdlBackend(settings);
    ShowStart start = startShow(*backend, messages, options.startSeconds);
    if (!start.demo) return start.exitCode;
    demo = start.demo.release();
    const int exitCode = runLoop(*demo, *backend, showEndedEvent);
    backend->music().stop();
    return exitCode;
}
