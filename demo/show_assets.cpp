#include "demo/show_assets.h"

#include "effects/screen_picture.h"
#include "image/pcx.h"
#include "wire3d/ase.h"

namespace {

// A sprite may have any size; a missing or empty one draws nothing.
std::unique_ptr<Image> loadSprite(const ShowContext& context, const char* name) {
    std::unique_ptr<Image> sprite = loadPcx(context, name);
    if (sprite->count() == 0) warnUnusablePicture(context, name, *sprite, "");
    return sprite;
}

bool loadMeshes(const ShowContext& context, Mesh (&meshes)[meshCount], std::string& missing) {
    for (int i = 0; i < meshCount; ++i) {
        const char* name = dataFiles[firstOf(DataKind::Mesh) + i].name;
        if (!loadAse(context, name, meshes[i])) {
            missing = name;
            return false;
        }
    }
    return true;
}

}  // namespace

ShowAssets::ShowAssets(const ShowContext& context) {
    for (int row = 0; row < pictureSlots; ++row) pictures[row] = loadScreenPicture(context, dataFiles[row].name);
    if (!loadMeshes(context, meshes, missingMesh)) return;  // the show ends before it starts
    for (int row = firstOf(DataKind::Sprite); row < firstOf(DataKind::Sprite) + spriteCount; ++row) {
        pictures[row] = loadSprite(context, dataFiles[row].name);
    }
}

ShowAssets::~ShowAssets() {
    for (Mesh& mesh : meshes) resetMesh(mesh);
}

const Image& ShowAssets::picture(int row) const {
    static const Image none(0, 0);
    return row >= 0 && row < dataFileCount && pictures[row] ? *pictures[row] : none;
}
