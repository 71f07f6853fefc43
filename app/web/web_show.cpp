// The browser backend's one link to the show. The page's script calls these
// exported functions: the live show, on the clock the page supplies, drawn
// into a canvas-ready RGBA buffer; and the verification run, the headless
// renderer's virtual-clock show, frame by frame.
#include <emscripten/emscripten.h>

#include <cstdint>

#include "app/headless_render.h"
#include "demo/demo.h"
#include "platform/platform.h"
#include "wire3d/math3d.h"

namespace {

// The page's show clock in whole milliseconds: the audio clock while the
// music plays, the page's own clock otherwise (vokdemo.js).
EM_JS(uint32_t, pageTickCount, (), { return Module.showClockMs() >>> 0; });

// The files the page fetched are written here before the show starts.
const char* const dataDirectory = "/data";

Demo* demo = nullptr;
headless::ShowRun* run = nullptr;
uint32_t canvasPixels[320 * 240];

// A canvas takes red, green, blue and an opacity that must be full (it
// keeps no colour where it is 0); the work image holds blue, green, red and
// a byte without meaning.
void convertForCanvas(const Image& image) {
    const uint32_t* in = reinterpret_cast<const uint32_t*>(image.pixels);
    for (int32_t i = 0; i < image.count; ++i) {
        const uint32_t p = in[i];
        canvasPixels[i] = 0xFF000000u | (p & 0x0000FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16);
    }
}

}  // namespace

extern "C" {

// Start-up of a live show (again after the end screen): the Demo, whose clock
// makes time zero, then the angle tables. Returns the clock's reading at time
// zero; the page starts the music from there right after this returns.
EMSCRIPTEN_KEEPALIVE uint32_t vokStartShow() {
    platform::setDataDirectory(dataDirectory);
    platform::setTickCounter(pageTickCount);
    delete demo;
    demo = new Demo();
    fillAngleTables();
    return demo->clock->startTick;
}

// One frame: tick, draw, convert. 0 once the show has taken its end step;
// that frame's buffer still holds the last picture.
EMSCRIPTEN_KEEPALIVE int vokStep() {
    demo->clock->tick();
    demo->renderFrame();
    convertForCanvas(*demo->workImage);
    return demo->quitRequested ? 0 : 1;
}

EMSCRIPTEN_KEEPALIVE uint32_t* vokCanvasPixels() { return canvasPixels; }

// The verification run: frame k at floor(k * 1000 / fps) ms of a clock
// that starts at 0, as `vokdemo --render` does.
EMSCRIPTEN_KEEPALIVE void vokRenderBegin(int fps) {
    platform::setDataDirectory(dataDirectory);
    delete run;
    run = new headless::ShowRun(fps, 0);
}

// 1 when a frame of the show was rendered, 0 after its end.
EMSCRIPTEN_KEEPALIVE int vokRenderNext() { return run->renderNext() ? 1 : 0; }

EMSCRIPTEN_KEEPALIVE double vokFrameIndex() { return static_cast<double>(run->frame()); }
EMSCRIPTEN_KEEPALIVE uint32_t vokFrameMilliseconds() { return run->milliseconds(); }
EMSCRIPTEN_KEEPALIVE int vokFrameScene() { return run->scene(); }
EMSCRIPTEN_KEEPALIVE const uint8_t* vokFramePixels() { return run->image().pixels; }
EMSCRIPTEN_KEEPALIVE int vokRenderOverran() { return run->overran() ? 1 : 0; }

}  // extern "C"
