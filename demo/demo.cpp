#include "demo/demo.h"
// placeholder until the timeline lands
Demo::Demo() : pictures(nullptr), workImage(new Image()), clock(new FrameClock()) {}
Demo::~Demo() {
    delete workImage;
    delete clock;
}
int Demo::renderFrame() { return 1; }
int sceneForTime(float) { return 0; }
