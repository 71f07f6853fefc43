#include "demo/demo.h"

#include <string>

#include "demo/scenes.h"
#include "effects/screen_picture.h"
#include "image/pcx.h"

namespace {

// A sprite may have any size; a missing or empty one draws nothing.
std::unique_ptr<Image> loadSprite(const char* name, MessageSink& messages) {
    std::unique_ptr<Image> sprite = loadPcx(name, messages);
    if (sprite->count == 0) warnUnusablePicture(name, *sprite, "", messages);
    return sprite;
}

}  // namespace

// The data table's files, by kind: the screen pictures, the meshes, the
// sprites; the music is the players' (shell/show_start.cpp).
Demo::Demo(MessageSink& messageSink) : messages(messageSink) {
    workImage = std::make_unique<Image>();
    state.wireLayer = std::make_unique<Image>();
    state.wireLayer->clear(0);
    for (int slot = 0; slot < pictureSlots; ++slot) {
        pictures[slot] = loadScreenPicture(pictureFile(static_cast<Picture>(slot)), messages);
    }
    if (!loadMeshes(state, messages, missingMesh_)) return;  // the show ends before it starts
    const int firstSprite = firstOf(DataKind::Sprite);
    for (int i = 0; i < spriteCount; ++i) state.sprites[i] = loadSprite(dataFiles[firstSprite + i].name, messages);
    clock = std::make_unique<FrameClock>();  // last: time zero of the show is the end of loading
}

// No show deletes its Demo while it runs; tests and the headless renderer do,
// so everything the show made is freed with it.
Demo::~Demo() = default;

int Demo::renderFrame() {
    float t = static_cast<float>(clock->elapsedSeconds());
    int scene = sceneForTime(t);
    lastScene = scene;
    if (scene == sceneEnd) {
        quitRequested = true;  // nothing is drawn: the previous picture stays
        return 1;
    }
    advanceEffectStage(*this, sceneTable[scene].stage, t);
    sceneTable[scene].draw(*this, t);
    return 1;
}
