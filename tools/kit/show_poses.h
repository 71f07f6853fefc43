#pragma once
#include <string>
#include <vector>

#include "kit_slots.h"
#include "wire3d/mesh.h"

// One way the show places a mesh: its world matrix (rotation and z
// translation) on some frame, and a name for it in messages.
struct Pose {
    Matrix4 world;
    std::string name;
};

// Every pose the scenes that use the slot's mesh give it (the rows of
// sceneTable the data table names, with their MeshTurn mark and depth), at
// the nearest of their distances (the nearest draws every corner farthest
// from the centre): the unturned first frame, then in a letter scene each of
// the 256 turns about the vertical axis after the quarter turn that stands it
// up, and in an object scene the turns of every 1/64 s of the scene. None for
// a file that is not a mesh.
std::vector<Pose> showPoses(const Slot& slot);

// A mesh record that owns its arrays, as loadAse or the kit fills them.
struct OwnedMesh {
    Mesh mesh{};
    OwnedMesh() = default;
    OwnedMesh(const OwnedMesh&) = delete;
    OwnedMesh& operator=(const OwnedMesh&) = delete;
    ~OwnedMesh() { resetMesh(mesh); }
};

// How a mesh fares on screen over a set of poses.
struct ScreenReport {
    int brokenFaces = 0;           // faces naming a vertex that does not exist (never drawn)
    int facesLeaving = 0;          // faces with a corner off screen at some pose
    std::vector<std::string> posesLeaving;  // names of the poses where some face leaves
};

// What the renderer does with the mesh at each pose: a face is drawn only
// when its three corners lie strictly inside the screen.
ScreenReport screenReport(Mesh& mesh, const std::vector<Pose>& poses);

// True when every corner of every face lies at least `margin` pixels inside
// the screen at every pose.
bool staysInside(Mesh& mesh, const std::vector<Pose>& poses, int margin);
