// The 3D scenes: the meshes' loading and turns, and the draw steps of the
// letters and the object.
#include <cstdint>

#include "demo/scenes.h"
#include "wire3d/mesh.h"

namespace {

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
void drawMeshOnto(Image& work, Image& wireLayer, Mesh& mesh) {
    drawWireframe(wireLayer, mesh);
    work.addSaturate(wireLayer);
}

// The row of the scene being drawn.
const Scene& drawnScene(const Demo& demo) { return sceneTable[demo.state->lastScene]; }

// The object at a random depth from the row's `depth` to `depth + depthRange - 1`,
// drawn over the background; the scene adds its overlay and clears the layer.
Mesh& drawObject(Demo& demo) {
    ShowState& state = *demo.state;
    const SceneMesh& place = drawnScene(demo).mesh;
    Mesh& mesh = demo.sceneMesh();
    stepColour(mesh);
    mesh.world.m[zTranslation] = place.depth + state.prng.rand() % place.depthRange;
    state.workImage.copyFrom(demo.scenePicture(0));
    drawMeshOnto(state.workImage, state.wireLayer, mesh);
    return mesh;
}

}  // namespace

void turnLetter(Mesh& mesh, float t) {
    Matrix4 r1, r2, r3;
    rotateX(r1, 64);
    rotateY(r2, static_cast<int32_t>(t * 64.0f));
    rotateZ(r3, 0);
    multiply(r2, r3, r2);
    multiply(r2, r1, mesh.world);
}

void turnObject(Mesh& mesh, float t) {
    Matrix4 p, q, r;
    rotateX(p, static_cast<int32_t>(t * 16.0f));
    rotateY(q, static_cast<int32_t>(t * 64.0f));
    rotateZ(r, static_cast<int32_t>(t * 32.0f));
    multiply(q, r, q);
    multiply(q, p, mesh.world);
}

void poseMeshes(ShowState& state) {
    for (Mesh& mesh : state.meshes) {
        setIdentity(mesh.world);
        setIdentity(mesh.object);
        mesh.color &= 0xFF000000u;
        mesh.world.m[zTranslation] = 200.0;
    }
}

// A letter turning on the background at its row's depth.
void letterScene(Demo& demo, float t) {
    ShowState& state = *demo.state;
    Mesh& mesh = demo.sceneMesh();
    stepColour(mesh);
    mesh.world.m[zTranslation] = drawnScene(demo).mesh.depth;
    state.workImage.copyFrom(demo.scenePicture(0));
    drawMeshOnto(state.workImage, state.wireLayer, mesh);
    state.wireLayer.clear(0);
    turnLetter(mesh, t);  // the rotation for the next frame
}

// The object at a jittering depth, then the overlay jittering by up to 3 pixels.
void objectJitterScene(Demo& demo, float t) {
    ShowState& state = *demo.state;
    Image& work = state.workImage;
    const Image& overlay = demo.scenePicture(1);
    Mesh& mesh = drawObject(demo);
    int32_t y = state.prng.rand() % 4;
    int32_t x = state.prng.rand() % 4;
    work.addBlit(overlay, x, y);
    work.addSaturate(overlay);
    state.wireLayer.clear(0);
    turnObject(mesh, t);
}

// The object nearer and farther, then the overlay in place and jittering.
void objectOverlayScene(Demo& demo, float t) {
    ShowState& state = *demo.state;
    Image& work = state.workImage;
    const Image& overlay = demo.scenePicture(1);
    Mesh& mesh = drawObject(demo);
    work.addSaturate(overlay);
    int32_t y = state.prng.rand() % 4;
    int32_t x = state.prng.rand() % 4;
    work.addBlit(overlay, x, y);
    state.wireLayer.clear(0);
    turnObject(mesh, t);
}
