#pragma once
// The scene steps of the timeline, shared between the files of demo/.
#include "demo/demo.h"

// Loads the five meshes and gives them their starting matrices and colour.
void loadMeshes();

void drawLetterScene(Demo& demo, int scene, float t);        // scenes 3 to 6
void drawObjectScene(Demo& demo, int scene, float t);        // scenes 12 and 13
void drawEffectScene(Demo& demo, int scene, float t);        // scenes 8 to 11

// Runs the effect-object transitions until the stage the scene needs is reached.
void advanceEffectStage(Demo& demo, int scene, float t);
// Deletes whatever effect object still exists.
void deleteEffectObjects(Demo& demo);
