#include "demo/show_seek.h"

uint32_t sceneStartMs(int scene) {
    if (scene <= 0) return 0;
    // The bound in milliseconds, then the few counts around it where the
    // float show time crosses it.
    uint32_t ms = static_cast<uint32_t>(sceneTable[scene - 1].end * 1000.0);
    while (sceneAtMs(ms) < scene) ++ms;
    while (ms > 0 && sceneAtMs(ms - 1) >= scene) --ms;
    return ms;
}
