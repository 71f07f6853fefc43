#include "demo/show_seek.h"

#include "platform/platform.h"

uint32_t sceneStartMs(int scene) {
    if (scene <= 0) return 0;
    // The bound in milliseconds, then the few counts around it where the
    // float show time crosses it.
    uint32_t ms = static_cast<uint32_t>(sceneTable[scene - 1].end * 1000.0);
    while (sceneAtMs(ms) < scene) ++ms;
    while (ms > 0 && sceneAtMs(ms - 1) >= scene) --ms;
    return ms;
}

void restartShow(Demo& demo) {
    ShowState& state = demo.state;
    state.fader.reset();
    state.lens.reset();
    state.crossFade.reset();
    state.channelDrift.reset();
    state.effectStage = EffectStage::None;
    state.waveAmplitude = 0.0f;
    state.prng = Random{};
    poseMeshes(state);
    state.wireLayer->clear(0);
    demo.workImage->clear(0);
    demo.quitRequested = false;
    demo.lastScene = -1;
}

void moveClock(FrameClock& clock, uint32_t ms) {
    clock.startTick = platform::tickCount() - ms;
    clock.lastElapsed = static_cast<int32_t>(ms);
}
