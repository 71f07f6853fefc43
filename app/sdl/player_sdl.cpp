#include <SDL.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <thread>

#include "app/cli/runners.h"
#include "app/sdl/flash_warning.h"
#include "app/sdl/frame_pacer.h"
#include "app/sdl/player_keys.h"
#include "app/sdl/sdl_music.h"
#include "shell/show_control.h"
#include "shell/show_start.h"
#include "shell/stdio_messages.h"
#include "demo/scenes.h"
#include "display/gentle_screen.h"
#include "display/sdl_display.h"
#include "platform/platform.h"
#include "platform/posix_platform.h"

// The live show: the shared start-up, then the one loop on the one thread.
// Nothing is torn down at the end; the process takes it all with it.
namespace {

// The show's tick counter. While the music plays it follows the music the
// listener hears, counted from the tick at which the music started, so that
// a wall clock running at another pace than the sound card cannot move the
// picture off the beat; it never runs backwards. Without sound it is SDL's
// millisecond counter.
struct MusicTicks {
    SdlMusic* music = nullptr;  // set once the music plays
    uint32_t start = 0;         // SDL's tick when the music started
    uint32_t last = 0;
};
MusicTicks musicTicks;

uint32_t showTicks() {
    const double heard = musicTicks.music ? musicTicks.music->heardMs() : -1;
    if (heard < 0) return SDL_GetTicks();
    uint32_t now = musicTicks.start + static_cast<uint32_t>(std::lround(heard));
    if (static_cast<int32_t>(now - musicTicks.last) < 0) now = musicTicks.last;
    musicTicks.last = now;
    return now;
}

// `startTick` is SDL's tick just before the device opened: the show's time
// of that tick is the music's start, whatever opening the device took.
void followTheMusic(SdlMusic& music, uint32_t startTick) {
    if (!music.isPlaying()) return;
    musicTicks.start = startTick;
    musicTicks.last = SDL_GetTicks();
    musicTicks.music = &music;
}

// With --sync-log, one line on standard error at every change of scene and
// around the keys of the show (`what`: "scene", "pause", "play", "landed"):
// the scene, the show's time, where in the music the listener is, and how
// far the picture is ahead of the music.
void logSync(const char* what, int scene, uint32_t showMs) {
    const double musicMs = musicTicks.music ? musicTicks.music->heardMusicMs() : -1;
    if (musicMs < 0) {
        std::fprintf(stderr, "vokdemo: sync %s %d show %u ms, no music\n", what, scene, showMs);
        return;
    }
    std::fprintf(stderr, "vokdemo: sync %s %d show %u ms music %.1f ms offset %.1f ms\n", what, scene, showMs, musicMs,
                 showMs - musicMs);
}

uint32_t showMsNow(const FrameClock& clock) { return platform::tickCount() - clock.startTick; }

std::unique_ptr<FramePacer> pacer;  // none with --no-vsync: frames come as fast as they can

double steadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void waitForNextFrame() {
    if (!pacer) return;
    const double pause = pacer->afterFrame(steadySeconds());
    if (pause > 0) std::this_thread::sleep_for(std::chrono::duration<double>(pause));
}

// What the SDL player supplies to the shared start-up and frame step, and
// how its music follows the viewer's pauses and seeks.
class SdlBackend : public Backend, public MusicFollower {
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
    void playMusic(double startSeconds) override {
        const uint32_t startTick = SDL_GetTicks();
        music_.play(startSeconds);
        followTheMusic(music_, startTick);
    }
    void present(const Image& work) override {
        const Image& shown = keys ? keys->picture(work) : work;
        display_->present(gentle_ ? gentle_->soften(shown, SDL_GetTicks()) : shown);
    }
    void flip() override { display_->flip(); }
    void pause() override { music_.pause(); }
    void playFrom(double seconds) override { music_.playFrom(seconds); }

    PlayerKeys* keys = nullptr;  // once the show runs

    SdlDisplay& display() { return *display_; }
    SdlMusic& music() { return music_; }
    void beGentle() { gentle_ = std::make_unique<GentleScreen>(); }

private:
    DisplaySettings settings_;
    SdlMusic music_;
    SdlDisplay* display_ = nullptr;
    std::unique_ptr<GentleScreen> gentle_;  // --gentle: the screen gets a softened copy
};

// While the show is paused the held picture is shown again, at the
// display's pace or every 10 ms.
void showHeldPicture(Demo& demo, SdlBackend& backend) {
    backend.present(*demo.workImage);
    backend.flip();
    if (!pacer) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    waitForNextFrame();
}

// With --sync-log: a line at every seek as it happens (the landing's scene,
// the time it landed on and the picture's time it was asked at) and at
// every pause and resume; while the show plays, the offset from the music at
// the first frame after a seek ("landed") and at every change of scene.
void logSeek(const SeekLanding& seek) {
    std::fprintf(stderr, "vokdemo: sync seek %d show %u ms from %u ms\n", sceneAtMs(seek.toMs), seek.toMs,
                 seek.fromMs);
}

struct SyncLog {
    bool on;
    int scene = -1;
    int seeks = 0;

    void afterKey(const ShowControl& control, bool wasPaused, int seeksBefore) const {
        if (!on) return;
        if (control.seeks() != seeksBefore) logSeek(control.lastSeek());
        if (control.paused() != wasPaused) logSync(wasPaused ? "play" : "pause", scene, control.shownMs());
    }
    void afterFrame(const Demo& demo, const ShowControl& control) {
        if (on && !control.paused()) {
            if (control.seeks() != seeks) {
                logSync("landed", demo.lastScene, showMsNow(*demo.clock));
            } else if (demo.lastScene != scene) {
                logSync("scene", demo.lastScene, showMsNow(*demo.clock));
            }
        }
        seeks = control.seeks();
        scene = demo.lastScene;
    }
};

// Waiting events come first, one per pass; when none waits, one frame (none
// while paused). The frame that takes the end step shows the last picture
// once more, and the loop ends when it reaches the event that frame posted.
int runLoop(Demo& demo, SdlBackend& backend, Uint32 showEndedEvent, bool syncLog) {
    ShowControl control(demo, backend);
    PlayerKeys keys(demo, control, backend.music(), backend.display());
    backend.keys = &keys;
    SyncLog log{syncLog};
    SDL_Event event;
    for (;;) {
        if (SDL_PollEvent(&event)) {
            if (event.type == showEndedEvent) return 0;
            if (backend.display().handleEvent(event)) return 0;
            const bool wasPaused = control.paused();
            const int seeksBefore = control.seeks();
            keys.handle(event);
            log.afterKey(control, wasPaused, seeksBefore);
            continue;
        }
        if (!control.frameDue()) {
            showHeldPicture(demo, backend);
            continue;
        }
        const bool goesOn = stepFrame(demo, backend);
        keys.countFrame();
        log.afterFrame(demo, control);
        if (!goesOn) {
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
    platform::setTickCounter(showTicks);
    platform::setDataDirectory(options.dataDir);
    platform::installPosixKeyPoll();
    if (SDL_Init(SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        std::fprintf(stderr, "vokdemo: %s\n", SDL_GetError());
        return 1;
    }
    const Uint32 showEndedEvent = SDL_RegisterEvents(1);
    if (!options.gentle) warnOfFlashes();

    DisplaySettings settings;
    settings.windowed = !options.fullscreen;
    settings.scale = options.scale;  // 0: the largest that fits the desktop
    settings.vsync = options.vsync;
    backend = new SdlBackend(settings);
    if (options.gentle) backend->beGentle();
    ShowStart start = startShow(*backend, messages, options.startSeconds);
    if (!start.demo) return start.exitCode;
    demo = start.demo.release();
    const int exitCode = runLoop(*demo, *backend, showEndedEvent, options.syncLog);
    backend->music().stop();
    return exitCode;
}
