#include "demo/demo.h"

#include <cstdio>
#include <cstring>

#include "common/random.h"
#include "demo/scenes.h"
#include "demo/show_state.h"
#include "effects/screen_picture.h"
#include "image/pcx.h"
#include "platform/platform.h"
#include "wire3d/mesh.h"

namespace {

constexpr int pictureSlots = 9;
const char* const pictureFiles[pictureSlots] = {
    "vok_logo.pcx",   "vok_lomur.pcx",  "vok_zumber.pcx", "vok_girl.pcx", "vok_vesk.pcx",
    "vok_credit.pcx", "vok_thanks.pcx", "vok_greets.pcx", "vok_mask.pcx",
};
const int pictureLoadOrder[pictureSlots] = {2, 0, 1, 3, 4, 5, 6, 7, 8};

bool fileExists(const char* name) {
    FILE* file = platform::openDataFile(name, "rb");
    if (file) std::fclose(file);
    return file != nullptr;
}

// A sprite may have any size; a missing one is the empty image and draws nothing.
Image* loadSprite(const char* name) {
    Image* sprite = loadPcx(name);
    if (sprite->count == 0 && !fileExists(name)) std::fprintf(stderr, "missing picture: %s\n", name);
    return sprite;
}

void deleteImage(Image*& image) {
    delete image;
    image = nullptr;
}

// Puts every piece of process-wide show state back to its start.
void resetShowState() {
    prng::reset();
    effectStage = 0;
    waveAmplitude = 0.0f;
    delete channelDrift;
    channelDrift = nullptr;
    std::memset(dxAccum, 0, sizeof dxAccum);
    std::memset(dyAccum, 0, sizeof dyAccum);
    for (Mesh& mesh : meshes) resetMesh(mesh);
    deleteImage(wireLayer);
    deleteImage(sprite1);
    deleteImage(sprite2);
    deleteImage(sprite3);
}

}  // namespace

Demo::Demo() {
    resetShowState();
    workImage = new Image();
    wireLayer = new Image();
    wireLayer->clear(0);
    pictures = new Image*[pictureSlots];
    for (int slot : pictureLoadOrder) pictures[slot] = loadScreenPicture(pictureFiles[slot]);
    loadMeshes();
    sprite1 = loadSprite("part1.pcx");
    sprite2 = loadSprite("part2.pcx");
    sprite3 = loadSprite("part3.pcx");
    clock = new FrameClock();  // last: time zero of the show is the end of loading
}

// No show deletes its Demo while it runs; tests and the headless renderer do,
// so everything the show made is freed here.
Demo::~Demo() {
    deleteEffectObjects(*this);
    for (int slot = 0; slot < pictureSlots; ++slot) delete pictures[slot];
    delete[] pictures;
    workImage->release();
    delete workImage;
    delete clock;
    resetShowState();
}
