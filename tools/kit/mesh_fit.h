#pragma once
#include <string>

#include "kit_slots.h"
#include "shared/triangle_mesh.h"
#include "show_poses.h"

// Corners stay this many pixels inside the screen edge at every pose.
constexpr int screenMargin = 8;

// The mesh as the show's reader fills a Mesh record (floats).
void toShowMesh(const TriMesh& source, OwnedMesh& target);

// Centres the mesh on the middle of its bounding box and scales it as large as
// it can be while every corner stays screenMargin pixels inside the screen at
// every pose the show gives the slot. False when the mesh has no extent.
bool fitToSlot(TriMesh& mesh, const Slot& slot, std::string& error);
