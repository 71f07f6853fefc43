#include "demo/demo.h"

#include <cstdio>
#include <cstring>

#include "common/random.h"
#include "demo/scenes.h"
#include "demo/show_state.h"
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

// Loads a full-screen picture. Every scene reads and writes whole 320x240
// images, so a missing picture becomes black and one of another size is
// cropped or padded with black at the bottom and right.
Image* loadScreenPicture(const char* name) {
    Image* loaded = loadPcx(name);
    if (loaded->isScreenSized()) return loaded;
    if (loaded->count == 0 && !fileExists(name)) {
        std::fprintf(stderr, "missing picture: %s\n", name);
    } else {
        std::fprintf(stderr, "picture %s is %dx%d, not 320x240\n", name, loaded->width, loaded->height);
    }
    Image* fitted = new Image();
    for (int32_t y = 0; y < loaded->height && y < screenHeight; ++y) {
        int32_t columns = loaded->width < screenWidth ? loaded->width : screenWidth;
        std::memcpy(fitted->pixels + 4 * y * screenWidth, loaded->pixels + 4 * static_cast<int64_t>(y) * loaded->width,
                    4 * static_cast<size_t>(columns));
    }
    delete loaded;
    return fitted;
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
