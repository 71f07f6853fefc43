#include "demo/demo.h"

#include <string>

#include "demo/scenes.h"
#include "effects/screen_picture.h"
#include "image/pcx.h"
#include "platform/platform.h"

namespace {

const char* const pictureFiles[pictureSlots] = {
    "vok_logo.pcx",   "vok_lomur.pcx",  "vok_zumber.pcx", "vok_girl.pcx", "vok_vesk.pcx",
    "vok_credit.pcx", "vok_thanks.pcx", "vok_greets.pcx", "vok_mask.pcx",
};
const Picture pictureLoadOrder[pictureSlots] = {
    Picture::Zumber, Picture::Logo,   Picture::Lomur,  Picture::Girl, Picture::Vesk,
    Picture::Credit, Picture::Thanks, Picture::Greets, Picture::Mask,
};

bool fileExists(const char* name) {
    FILE* file = platform::openDataFile(name, "rb");
    if (file) std::fclose(file);
    return file != nullptr;
}

// A sprite may have any size; a missing one is the empty image and draws nothing.
std::unique_ptr<Image> loadSprite(const char* name, MessageSink& messages) {
    std::unique_ptr<Image> sprite = loadPcx(name, messages);
    if (sprite->count == 0 && !fileExists(name)) messages.warning(std::string("missing picture: ") + name);
    return sprite;
}

}  // namespace

Demo::Demo(MessageSink& messageSink) : messages(messageSink) {
    workImage = std::make_unique<Image>();
    state.wireLayer = std::make_unique<Image>();
    state.wireLayer->clear(0);
    for (Picture slot : pictureLoadOrder) {
        const int index = static_cast<int>(slot);
        pictures[index] = loadScreenPicture(pictureFiles[index], messages);
    }
    if (!loadMeshes(state, messages, missingMesh_)) return;  // the show ends before it starts
    state.sprite1 = loadSprite("part1.pcx", messages);
    state.sprite2 = loadSprite("part2.pcx", messages);
    state.sprite3 = loadSprite("part3.pcx", messages);
    clock = std::make_unique<FrameClock>();  // last: time zero of the show is the end of loading
}

// No show deletes its Demo while it runs; tests and the headless renderer do,
// so everything the show made is freed with it.
Demo::~Demo() = default;
