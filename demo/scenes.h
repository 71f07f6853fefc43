#pragma once
// The scene table and the scene steps of the timeline.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "demo/demo.h"
#include "wire3d/mesh.h"

// How a scene turns the mesh it draws. The draw steps of the 3D scenes take
// the depth from their row, and the kit (tools/kit/show_poses.cpp) reads the
// mark and the depth to check that a mesh stays on screen in its scenes.
enum class MeshTurn {
    None,    // the scene draws no mesh
    Letter,  // turnLetter, at z translation `depth`
    Object,  // turnObject, at z translation `depth` + rand() % `depthRange`
};

struct SceneMesh {
    MeshTurn turn = MeshTurn::None;
    double depth = 0.0;
    int32_t depthRange = 1;
};

// One scene of the show: shown from the previous scene's end bound up to its
// own, with the effect stage it needs, the step that draws it, the data files
// it draws and, for a 3D scene, how it turns its mesh. The files are named as
// the data table (demo/data_files.h) names them, in the order the draw step
// takes them (Demo::scenePicture); the effect a row's stage brings in loads
// that row's files. Which scenes use a file is read from here.
struct Scene {
    const char* name;
    double end;          // seconds; the show time is compared with it in double
    EffectStage stage;   // the effect objects the scene needs
    void (*draw)(Demo& demo, float t);
    const char* files[maxFilesPerScene] = {};  // the rest null
    SceneMesh mesh = {};
};

extern const Scene sceneTable[];
extern const int sceneCount;
extern const int sceneEnd;  // the end step after the last scene: nothing is drawn

// The scene of show time t (a rounded float): 0..sceneCount-1, or sceneEnd.
int sceneForTime(float t);
// The row of the scene named `name`, or -1 when the table has none.
int sceneNamed(const char* name);
// The scene's name from the table; `outside` for a number that is no scene
// (the end step, or a frame of no known scene).
const char* sceneName(int scene, const char* outside = "end");
// The scene of a clock reading of `ms` milliseconds, its show time formed
// as the frame's is.
int sceneAtMs(uint32_t ms);

// Each row's files as data rows (-1 for a name the data table lacks or no name).
std::vector<std::array<int, maxFilesPerScene>> resolveSceneFiles();
// Whether the scene's row names the data row among its files.
bool sceneUses(int scene, int dataRow);

// Runs the effect-object transitions until the stage the scene needs is reached.
void advanceEffectStage(Demo& demo, EffectStage stage, float t);

// The meshes' starting matrices and colour, as a run begins with them.
void poseMeshes(ShowState& state);

// The rotations of the 3D scenes at show time t; each replaces the whole
// world matrix, so its z translation is 0 until the scene sets the depth.
// A letter: a quarter turn about x, then a turn about y every 4 s.
void turnLetter(Mesh& mesh, float t);
// The object: once every 16 s about x, 4 s about y and 8 s about z.
void turnObject(Mesh& mesh, float t);

// The scene steps, by what they draw: pictures (demo/picture_scenes.cpp),
// effects (demo/effect_scenes.cpp), meshes (demo/scenes_3d.cpp). Each draws
// the files its row names, in their order.
void fadeScene(Demo& demo, float t);           // the fader's picture
void growingWaveScene(Demo& demo, float t);    // the picture, waving more and more
void shrinkingWaveScene(Demo& demo, float t);  // the picture, waving less and less
void spriteScene(Demo& demo, float t);         // a background, then three sprites
void channelDriftScene(Demo& demo, float t);
void crossFadeScene(Demo& demo, float t);
void lensScene(Demo& demo, float t);           // the picture under the lens
void jitterScene(Demo& demo, float t);         // a background and a jittering overlay
void letterScene(Demo& demo, float t);         // a background and the mesh as a letter
void objectJitterScene(Demo& demo, float t);   // a background, the object, a jittering overlay
void objectOverlayScene(Demo& demo, float t);  // the same, the overlay in place and jittering
