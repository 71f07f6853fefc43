#include <cstdint>

#include "common/random.h"
#include "demo/scenes.h"
#include "demo/show_state.h"
#include "wire3d/ase.h"
#include "wire3d/mesh.h"

namespace {

const char* const meshFiles[meshCount] = {"v.ase", "o.ase", "k.ase", "e.ase", "test.ase"};

constexpr int zTranslation = 4 * 2 + 3;  // element (row 2, column 3) of a matrix

// Blue + 8, green + 4, red + 2, each modulo 256; the fourth byte stays.
void stepColour(Mesh& mesh) {
    uint32_t c = mesh.color;
    uint32_t blue = (c + 8) & 0xFF;
    uint32_t green = ((c >> 8) + 4) & 0xFF;
    uint32_t red = ((c >> 16) + 2) & 0xFF;
    mesh.color = (c & 0xFF000000u) | (red << 16) | (green << 8) | blue;
}

// Draws the mesh into the wire layer and adds the layer onto the work image;
// the scene clears the layer once its overlays are done.
void drawMeshOnto(Image& work, Mesh& mesh) {
    drawWireframe(*wireLayer, mesh);
    work.addSaturate(*wireLayer);
}

}  // namespace

void loadMeshes() {
    for (int i = 0; i < meshCount; ++i) loadAse(meshFiles[i], meshes[i]);
    for (Mesh& mesh : meshes) {
        setIdentity(mesh.world);
        setIdentity(mesh.object);
        mesh.color &= 0xFF000000u;
        mesh.world.m[zTranslation] = 200.0;
    }
}

void drawLetterScene(Demo& demo, int scene, float t) {
    Mesh& mesh = meshes[scene - 3];
    stepColour(mesh);
    mesh.world.m[zTranslation] = scene == 6 ? 200.0 : 300.0;
    demo.workImage->copyFrom(*demo.pictures[1]);
    drawMeshOnto(*demo.workImage, mesh);
    wireLayer->clear(0);

    // The rotation for the next frame: a quarter turn about x, then a turn about y every 4 s.
    Matrix4 r1, r2, r3;
    rotateX(r1, 64);
    rotateY(r2, static_cast<int32_t>(t * 64.0f));
    rotateZ(r3, 0);
    multiply(r2, r3, r2);
    multiply(r2, r1, mesh.world);
}

void drawObjectScene(Demo& demo, int scene, float t) {
    Mesh& mesh = meshes[4];
    Image& work = *demo.workImage;
    stepColour(mesh);
    if (scene == 12) {
        mesh.world.m[zTranslation] = 200.0 + prng::rand() % 100;
        work.copyFrom(*demo.pictures[4]);
        drawMeshOnto(work, mesh);
        int32_t y = prng::rand() % 4;
        int32_t x = prng::rand() % 4;
        work.addBlit(*demo.pictures[6], x, y);
        work.addSaturate(*demo.pictures[6]);
    } else {
        mesh.world.m[zTranslation] = 150.0 + prng::rand() % 150;
        work.copyFrom(*demo.pictures[4]);
        drawMeshOnto(work, mesh);
        work.addSaturate(*demo.pictures[7]);
        int32_t y = prng::rand() % 4;
        int32_t x = prng::rand() % 4;
        work.addBlit(*demo.pictures[7], x, y);
    }
    wireLayer->clear(0);

    // Turns once every 16 s about x, 4 s about y and 8 s about z.
    Matrix4 p, q, r;
    rotateX(p, static_cast<int32_t>(t * 16.0f));
    rotateY(q, static_cast<int32_t>(t * 64.0f));
    rotateZ(r, static_cast<int32_t>(t * 32.0f));
    multiply(q, r, q);
    multiply(q, p, mesh.world);
}
