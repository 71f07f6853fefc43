// The 3D scenes: the meshes' loading and turns, and the draw steps of the
// letters and the object.
#include <cstdint>

#include "demo/scenes.h"
#include "wire3d/ase.h"
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
const Scene& drawnScene(const Demo& demo) { return sceneTable[demo.lastScene]; }

// The mesh the data table names as used in the scene being drawn (the first
// mesh if it names none; a core test makes sure every 3D scene has one).
Mesh& sceneMesh(Demo& demo) {
    const char* scene = drawnScene(demo).name;
    const int first = firstOf(DataKind::Mesh);
    for (int i = 0; i < meshCount; ++i) {
        if (usedInScene(dataFiles[first + i], scene)) return demo.state.meshes[i];
    }
    return demo.state.meshes[0];
}

// The object at a random depth from the row's `depth` to `depth + depthRange - 1`,
// drawn over the vesk picture; the scene adds its overlay and clears the layer.
Mesh& drawObject(Demo& demo) {
    ShowState& state = demo.state;
    const SceneMesh& place = drawnScene(demo).mesh;
    Mesh& mesh = sceneMesh(demo);
    stepColour(mesh);
    mesh.world.m[zTranslation] = place.depth + state.prng.rand() % place.depthRange;
    demo.workImage->copyFrom(demo.picture(Picture::Vesk));
    drawMeshOnto(*demo.workImage, *state.wireLayer, mesh);
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

bool loadMeshes(ShowState& state, MessageSink& messages, std::string& missing) {
    for (int i = 0; i < meshCount; ++i) {
        const char* name = dataFiles[firstOf(DataKind::Mesh) + i].name;
        if (!loadAse(name, state.meshes[i], messages)) {
            missing = name;
            return false;
        }
    }
    poseMeshes(state);
    return true;
}

void poseMeshes(ShowState& state) {
    for (Mesh& mesh : state.meshes) {
        setIdentity(mesh.world);
        setIdentity(mesh.object);
        mesh.color &= 0xFF000000u;
        mesh.world.m[zTranslation] = 200.0;
    }
}

// A letter turning on the lomur picture at its row's depth.
void letterScene(Demo& demo, float t) {
    ShowState& state = demo.state;
    Mesh& mesh = sceneMesh(demo);
    stepColour(mesh);
    mesh.world.m[zTranslation] = drawnScene(demo).mesh.depth;
    demo.workImage->copyFrom(demo.picture(Picture::Lomur));
    drawMeshOnto(*demo.workImage, *state.wireLayer, mesh);
    state.wireLayer->clear(0);
    turnLetter(mesh, t);  // the rotation for the next frame
}

// The object at a jittering depth, then the thanks overlay jittering by up to 3 pixels.
void thanksObjectScene(Demo& demo, float t) {
    ShowState& state = demo.state;
    Image& work = *demo.workImage;
    const Image& thanks = demo.picture(Picture::Thanks);
    Mesh& mesh = drawObject(demo);
    int32_t y = state.prng.rand() % 4;
    int32_t x = state.prng.rand() % 4;
    work.addBlit(thanks, x, y);
    work.addSaturate(thanks);
    state.wireLayer->clear(0);
    turnObject(mesh, t);
}

// The object nearer and farther, then the greets overlay in place and jittering.
void greetsObjectScene(Demo& demo, float t) {
    ShowState& state = demo.state;
    Image& work = *demo.workImage;
    const Image& greets = demo.picture(Picture::Greets);
    Mesh& mesh = drawObject(demo);
    work.addSaturate(greets);
    int32_t y = state.prng.rand() % 4;
    int32_t x = state.prng.rand() % 4;
    work.addBlit(greets, x, y);
    state.wireLayer->clear(0);
    turnObject(mesh, t);
}
