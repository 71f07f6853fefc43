// The browser backend's link to the live show. The page's script calls these
// exported functions: the show through the shared start-up and frame step,
// on the clock and with the music the page supplies, drawn into a
// canvas-ready buffer, and controlled by the viewer's keys and gestures.
// The verification modes are web_checks.cpp's.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <memory>
#include <string>

#include "app/web/page_link.h"
#include "shell/backend.h"
#include "shell/show_control.h"
#include "shell/show_info.h"
#include "shell/show_start.h"
#include "demo/data_files.h"
#include "demo/demo.h"
#include "demo/scenes.h"
#include "demo/show_seek.h"
#include "flash/gentle_screen.h"
#include "shell/flash_verdict.h"

namespace {

// The page's side (page.js, music.js).
EM_JS(uint32_t, pageTickCount, (), { return Module.showClockMs() >>> 0; });
EM_JS(void, pageAllowSound, (), { Module.allowSound(); });
EM_JS(void, pagePlayMusic, (), { Module.playMusic(); });
EM_JS(void, pagePauseMusic, (), { Module.pauseMusic(); });
EM_JS(void, pageMusicFrom, (double seconds), { Module.musicFrom(seconds); });

uint32_t canvasPixels[320 * 240];
std::unique_ptr<GentleScreen> gentle;  // ?gentle: flashes over the limit are held back

// A canvas takes red, green, blue and an opacity that must be full (it
// keeps no colour where it is 0); the work image holds blue, green, red and
// a byte without meaning.
void convertForCanvas(const Image& image) {
    const uint32_t* in = reinterpret_cast<const uint32_t*>(image.pixels);
    for (int32_t i = 0; i < image.count(); ++i) {
        const uint32_t p = in[i];
        canvasPixels[i] = 0xFF000000u | (p & 0x0000FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16);
    }
}

// The page loads and decodes the music's render while it waits for the
// viewer, so loading the module is nothing here; the page shows the canvas
// once the frame is converted.
class CanvasBackend : public Backend {
public:
    void initialiseMusic() override { pageAllowSound(); }
    void playMusic(double) override { pagePlayMusic(); }
    void present(const Image& work) override {
        convertForCanvas(gentle ? gentle->show(work, pageTickCount()) : work);
    }
};

// The page's music follows pauses and seeks (music.js).
class PageMusic : public MusicFollower {
public:
    void pause() override { pagePauseMusic(); }
    void playFrom(double seconds) override { pageMusicFrom(seconds); }
};

ConsoleMessages messages;
CanvasBackend backend;
PageMusic music;
std::unique_ptr<Demo> demo;
std::unique_ptr<ShowControl> control;
std::string infoText;

// The files the core reads, one a line: the data table's less the music,
// which the page plays from its own render.
std::string coreFileList() {
    std::string list;
    for (const DataFile& file : dataFiles) {
        if (file.kind != DataKind::Module) list += std::string(list.empty() ? "" : "\n") + file.name;
    }
    return list;
}

}  // namespace

extern "C" {

// The names of the files the page fetches into the data directory, one a line.
EMSCRIPTEN_KEEPALIVE const char* vokCoreFiles() {
    static const std::string list = coreFileList();
    return list.c_str();
}

// Start-up of a live show (again after the end screen). 0 when it started;
// otherwise the show cannot run and the page has been given the reason.
// With `loop` (?loop) the show begins again at its end, the music with it,
// until the viewer ends it.
EMSCRIPTEN_KEEPALIVE int vokStartShow(int loop) {
    control.reset();
    demo.reset();
    ShowContext context(messages, DataFolder(pageDataDirectory));
    context.ticks = pageTickCount;
    ShowStart start = startShow(backend, context);
    demo = std::move(start.demo);
    if (!demo) return start.exitCode;
    control = std::make_unique<ShowControl>(*demo, music);
    control->setLoop(loop != 0);
    return 0;
}

// The viewer's keys (keys.js): a ShowKey by its number, a seek to a moment,
// whether the loop renders a frame now (not while paused), the last seek as
// it happened, and what the overlay and the address show.
EMSCRIPTEN_KEEPALIVE void vokPress(int key) { control->press(static_cast<ShowKey>(key)); }
EMSCRIPTEN_KEEPALIVE void vokSeekTo(double ms) { control->seekTo(static_cast<int64_t>(ms)); }
EMSCRIPTEN_KEEPALIVE int vokFrameDue() { return control->frameDue() ? 1 : 0; }
EMSCRIPTEN_KEEPALIVE int vokPaused() { return control->paused() ? 1 : 0; }
EMSCRIPTEN_KEEPALIVE uint32_t vokShownMs() { return control->shownMs(); }
EMSCRIPTEN_KEEPALIVE uint32_t vokShowMsNow() { return demo->clock->now() - demo->clock->startTick; }
EMSCRIPTEN_KEEPALIVE int vokScene() { return demo->state->lastScene; }
EMSCRIPTEN_KEEPALIVE int vokSeeks() { return control->seeks(); }
EMSCRIPTEN_KEEPALIVE uint32_t vokLandingFromMs() { return control->lastSeek().fromMs; }
EMSCRIPTEN_KEEPALIVE uint32_t vokLandingToMs() { return control->lastSeek().toMs; }
EMSCRIPTEN_KEEPALIVE int vokSceneAtMs(uint32_t ms) { return sceneAtMs(ms); }
EMSCRIPTEN_KEEPALIVE int vokSceneCount() { return sceneCount; }
EMSCRIPTEN_KEEPALIVE const char* vokSceneName(int scene) { return sceneName(scene); }
EMSCRIPTEN_KEEPALIVE uint32_t vokSceneStartMs(int scene) { return sceneStartMs(scene); }
EMSCRIPTEN_KEEPALIVE const char* vokOverlayText(double framesPerSecond, double musicMs) {
    infoText = overlayText(control->shownMs(), demo->state->lastScene, framesPerSecond, musicMs);
    return infoText.c_str();
}
EMSCRIPTEN_KEEPALIVE const char* vokScreenshotName() {
    infoText = screenshotName(control->shownMs(), demo->state->lastScene);
    return infoText.c_str();
}

// The warning sentence for the data set's flash verdict (flashes.txt in the
// data directory); empty when the show passes or there is no verdict.
EMSCRIPTEN_KEEPALIVE const char* vokFlashWarning() {
    static std::string warning;
    warning = flashWarning(DataFolder(pageDataDirectory));
    return warning.c_str();
}

// Whether the next live show has its flashes over the limit held back
// (?gentle), from its first frame.
EMSCRIPTEN_KEEPALIVE void vokSetGentle(int on) { gentle = on ? std::make_unique<GentleScreen>() : nullptr; }

// One frame: tick, draw, convert (a looping show begins again instead of
// taking its end step). 0 once the show has taken its end step; that
// frame's buffer still holds the last picture.
EMSCRIPTEN_KEEPALIVE int vokStep() { return control->step(backend) ? 1 : 0; }
EMSCRIPTEN_KEEPALIVE int vokLoops() { return control->loops(); }

EMSCRIPTEN_KEEPALIVE uint32_t* vokCanvasPixels() { return canvasPixels; }

}  // extern "C"
