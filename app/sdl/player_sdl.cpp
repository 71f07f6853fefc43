#include <SDL.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

#include "app/cli/runners.h"
#include "app/sdl/flash_warning.h"
#include "app/sdl/frame_pacer.h"
#include "app/sdl/player_keys.h"
#include "app/sdl/sdl_music.h"
#include "shell/show_control.h"
#include "shell/sync_log.h"
#include "shell/show_start.h"
#include "shell/stdio_messages.h"
#include "flash/gentle_screen.h"
#include "display/sdl_display.h"
#include "platform/posix_platform.h"

// The live show: the shared start-up, then the one loop on the one thread.
// Nothing is torn down at the end; the process takes it all with it.
namespace {

// The show's tick counter. While the music plays it follows the music the
// listener hears, counted from the tick at which the music started, so that
// a wall clock running at another pace than the sound card cannot move the
// picture off the beat; it never runs backwards. Without sound it is SDL's
// millisecond counter.
class MusicTicks {
public:
    uint32_t now() {
        const double heard = music_ ? music_->heardMs() : -1;
        if (heard < 0) return SDL_GetTicks();
        uint32_t now = start_ + static_cast<uint32_t>(std::lround(heard));
        if (static_cast<int32_t>(now - last_) < 0) now = last_;
        last_ = now;
        return now;
    }

    // `startTick` is SDL's tick just before the device opened: the show's
    // time of that tick is the music's start, whatever opening the device took.
    void follow(SdlMusic& music, uint32_t startTick) {
        if (!music.isPlaying()) return;
        start_ = startTick;
        last_ = SDL_GetTicks();
        music_ = &music;
    }

    SdlMusic* music() const { return music_; }

private:
    SdlMusic* music_ = nullptr;  // set once the music plays
    uint32_t start_ = 0;         // SDL's tick when the music started
    uint32_t last_ = 0;
};

double steadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// `pacer` is null with --no-vsync: frames come as fast as they can.
void waitForNextFrame(FramePacer* pacer) {
    if (!pacer) return;
    const double pause = pacer->afterFrame(steadySeconds());
    if (pause > 0) std::this_thread::sleep_for(std::chrono::duration<double>(pause));
}

// What the SDL player supplies to the shared start-up and frame step, and
// how its music follows the viewer's pauses and seeks.
class SdlBackend : public Backend, public MusicFollower {
public:
    SdlBackend(const DisplaySettings& settings, MusicTicks& ticks) : settings_(settings), ticks_(ticks) {}

    void initialiseMusic() override { music_.initialise(); }
    void loadMusic(const std::string& path) override { music_.load(path); }
    bool openDisplay() override {
        display_ = std::make_unique<SdlDisplay>(settings_);
        if (display_->isOpen()) {
            if (settings_.vsync) {
                pacer_ = std::make_unique<FramePacer>(display_->refreshRate(), display_->presentWaitsForRefresh());
            }
            return true;
        }
        std::fprintf(stderr, "vokdemo: cannot open the screen: %s\n", display_->failure().c_str());
        return false;
    }
    void playMusic(double startSeconds) override {
        const uint32_t startTick = SDL_GetTicks();
        music_.play(startSeconds);
        ticks_.follow(music_, startTick);
    }
    void present(const Image& work) override {
        const Image& picture = keys ? keys->picture(work) : work;
        const uint32_t now = SDL_GetTicks();
        const Image& shown = gentle_ ? gentle_->show(picture, now) : picture;
        display_->present(shown);
        if (presentedLog_) logPresented(shown, now);
    }
    void flip() override { display_->flip(); }
    void pause() override { music_.pause(); }
    void playFrom(double seconds) override { music_.playFrom(seconds); }

    PlayerKeys* keys = nullptr;  // once the show runs

    SdlDisplay& display() { return *display_; }
    SdlMusic& music() { return music_; }
    FramePacer* pacer() { return pacer_.get(); }
    void beGentle() { gentle_ = std::make_unique<GentleScreen>(); }

    // For the tests: every presented picture, after the key overlay and
    // --gentle, as its tick (4 bytes, little-endian) and its 307,200 bytes,
    // to the file named by VOK_PRESENTED_FRAMES.
    void logPresentedFrames() {
        if (const char* path = std::getenv("VOK_PRESENTED_FRAMES")) presentedLog_ = std::fopen(path, "wb");
    }

private:
    DisplaySettings settings_;
    MusicTicks& ticks_;
    SdlMusic music_;
    std::unique_ptr<SdlDisplay> display_;
    std::unique_ptr<FramePacer> pacer_;
    std::unique_ptr<GentleScreen> gentle_;  // --gentle: flashes over the limit are held back
    FILE* presentedLog_ = nullptr;

    void logPresented(const Image& shown, uint32_t tick) {
        const uint8_t bytes[4] = {uint8_t(tick), uint8_t(tick >> 8), uint8_t(tick >> 16), uint8_t(tick >> 24)};
        std::fwrite(bytes, 1, 4, presentedLog_);
        std::fwrite(shown.pixels, 1, screenBytes, presentedLog_);
        std::fflush(presentedLog_);
    }
};

// While the show is paused the held picture is shown again, at the
// display's pace or every 10 ms.
void showHeldPicture(Demo& demo, SdlBackend& backend) {
    backend.present(demo.state->workImage);
    backend.flip();
    if (!backend.pacer()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    waitForNextFrame(backend.pacer());
}

// Everything the live player keeps, in one place: where its words go, the
// clock that follows the music, the backend with its screen and music, and
// the show once it has started.
struct Player {
    explicit Player(const DisplaySettings& settings) : backend(settings, ticks) {}

    StdioMessages messages;
    MusicTicks ticks;
    SdlBackend backend;
    std::unique_ptr<Demo> demo;
};

// Waiting events come first, one per pass; when none waits, one frame (none
// while paused). The frame that takes the end step shows the last picture
// once more, and the loop ends when it reaches the event that frame posted.
int runLoop(Player& player, Uint32 showEndedEvent, const Options& options) {
    Demo& demo = *player.demo;
    SdlBackend& backend = player.backend;
    ShowControl control(demo, backend);
    control.setLoop(options.loop);
    PlayerKeys keys(demo, control, backend.music(), backend.display());
    backend.keys = &keys;
    const MusicTicks& ticks = player.ticks;
    SyncLog log(options.syncLog, [&ticks] { return ticks.music() ? ticks.music()->heardMusicMs() : -1; });
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
        const bool goesOn = control.step(backend);
        keys.countFrame();
        log.afterFrame(demo, control);
        if (!goesOn) {
            SDL_Event ended{};
            ended.type = showEndedEvent;
            SDL_PushEvent(&ended);
        }
        waitForNextFrame(backend.pacer());
    }
}

// The player lives to the end of the process, reachable from here: nothing
// is torn down at the end, the process takes it all with it.
Player* livePlayer = nullptr;

}  // namespace

int runPlayer(const Options& options) {
    if (SDL_Init(SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        std::fprintf(stderr, "vokdemo: %s\n", SDL_GetError());
        return 1;
    }
    const Uint32 showEndedEvent = SDL_RegisterEvents(1);
    const DataFolder data(options.dataDir);
    if (!options.gentle) warnOfFlashes(data);

    DisplaySettings settings;
    settings.windowed = !options.fullscreen;
    settings.scale = options.scale;  // 0: the largest that fits the desktop
    settings.vsync = options.vsync;
    livePlayer = new Player(settings);
    Player& player = *livePlayer;
    if (options.gentle) player.backend.beGentle();
    player.backend.logPresentedFrames();
    ShowContext context(player.messages, data);
    context.ticks = [&player] { return player.ticks.now(); };
    context.keyWaiting = platform::posixKeyPressWaiting;
    ShowStart start = startShow(player.backend, context, options.startSeconds);
    if (!start.demo) return start.exitCode;
    player.demo = std::move(start.demo);
    const int exitCode = runLoop(player, showEndedEvent, options);
    player.backend.music().stop();
    return exitCode;
}
