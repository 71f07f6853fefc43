#include "demo/show_state.h"

#include "demo/scenes.h"

ShowState::ShowState(const ShowAssets& assets) {
    for (int i = 0; i < meshCount; ++i) copyMesh(assets.meshes[i], meshes[i]);
    poseMeshes(*this);
}

ShowState::~ShowState() {
    for (Mesh& mesh : meshes) resetMesh(mesh);
}
