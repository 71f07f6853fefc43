#include "demo/show_state.h"

ShowState::~ShowState() {
    for (Mesh& mesh : meshes) resetMesh(mesh);
}
