#include "demo/demo.h"

#include "demo/scenes.h"

Demo::Demo(const ShowContext& showContext) : context(showContext), assets(context) {
    if (!assets.missingMesh.empty()) return;  // the show ends before it starts
    sceneFiles_ = resolveSceneFiles();
    state = std::make_unique<ShowState>(assets);
    clock = std::make_unique<FrameClock>(context.ticks);  // last: time zero of the show is the end of loading
}

// No show deletes its Demo while it runs; tests and the headless renderer do,
// so everything the show made is freed with it.
Demo::~Demo() = default;

int Demo::renderFrame() {
    float t = static_cast<float>(clock->elapsedSeconds());
    int scene = sceneForTime(t);
    state->lastScene = scene;
    if (scene == sceneEnd) {
        state->quitRequested = true;  // nothing is drawn: the previous picture stays
        return 1;
    }
    advanceEffectStage(*this, sceneTable[scene].stage, t);
    sceneTable[scene].draw(*this, t);
    return 1;
}

void Demo::restart(uint32_t ms) {
    state = std::make_unique<ShowState>(assets);
    clock->moveTo(ms);
}

const Image& Demo::scenePicture(int k) const {
    return assets.picture(sceneFiles_[static_cast<size_t>(state->lastScene)][static_cast<size_t>(k)]);
}

Mesh& Demo::sceneMesh() {
    for (int row : sceneFiles_[static_cast<size_t>(state->lastScene)]) {
        if (row >= 0 && dataFiles[row].kind == DataKind::Mesh) return state->meshes[row - firstOf(DataKind::Mesh)];
    }
    return state->meshes[0];  // a core test makes sure every 3D scene names a mesh
}
