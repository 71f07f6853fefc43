#include "show_poses.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "demo/scenes.h"

namespace {

constexpr int zTranslation = 4 * 2 + 3;  // element (row 2, column 3)
constexpr int turns = 256;
constexpr float stepsPerSecond = 64.0f;  // the fastest angle, trunc(t * 64), changes this often

std::string format(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

Pose unturned(double z) {
    Pose pose;
    setIdentity(pose.world);
    pose.world.m[zTranslation] = z;
    pose.name = "the unturned first frame";
    return pose;
}

// The pose at show time t of a mesh that the show turns with `turnMesh`, at depth z.
Pose turned(void (*turnMesh)(Mesh&, float), float t, double z, std::string name) {
    Mesh mesh{};
    turnMesh(mesh, t);
    Pose pose;
    pose.world = mesh.world;
    pose.world.m[zTranslation] = z;
    pose.name = std::move(name);
    return pose;
}

// Whether the scene turns the slot's mesh in the given way.
bool turnedIn(const Slot& slot, int scene, MeshTurn turn) {
    return sceneTable[scene].mesh.turn == turn && sceneUses(scene, slotRow(slot));
}

}  // namespace

std::vector<Pose> showPoses(const Slot& slot) {
    fillAngleTables();
    std::vector<Pose> poses;
    bool letter = false, object = false;
    double nearest = 0.0;  // the largest z translation any of its scenes gives it
    for (int scene = 0; scene < sceneCount; ++scene) {
        const SceneMesh& place = sceneTable[scene].mesh;
        if (place.turn == MeshTurn::None || !sceneUses(scene, slotRow(slot))) continue;
        // An object scene's depth + rand() % range reaches depth + range - 1.
        const double z = place.depth + (place.depthRange - 1);
        nearest = letter || object ? std::max(nearest, z) : z;
        letter = letter || place.turn == MeshTurn::Letter;
        object = object || place.turn == MeshTurn::Object;
    }
    if (!letter && !object) return poses;
    poses.push_back(unturned(nearest));
    if (letter) {
        for (int angle = 0; angle < turns; ++angle) {
            const float t = (static_cast<float>(angle) + 0.5f) / stepsPerSecond;
            poses.push_back(turned(turnLetter, t, nearest, "turn " + std::to_string(angle) + "/256"));
        }
    }
    if (object) {
        // Every angle changes at multiples of 1/64 s, so one time inside each
        // step meets every rotation the scenes can show.
        for (int step = 0;; ++step) {
            const float t = (static_cast<float>(step) + 0.5f) / stepsPerSecond;
            const int scene = sceneForTime(t);
            if (scene == sceneEnd) break;
            if (turnedIn(slot, scene, MeshTurn::Object)) poses.push_back(turned(turnObject, t, nearest, format("%.2f s", t)));
        }
    }
    return poses;
}

namespace {

bool validCorner(int32_t index, const Mesh& mesh) { return index >= 0 && index < mesh.vertexCount; }

bool validFace(const Face& face, const Mesh& mesh) {
    return validCorner(face.a, mesh) && validCorner(face.b, mesh) && validCorner(face.c, mesh);
}

void place(Mesh& mesh, const Pose& pose, std::vector<ScreenPoint>& points) {
    mesh.world = pose.world;
    setIdentity(mesh.object);
    transformMesh(mesh);
    points.resize(mesh.vertexCount);
    for (int32_t i = 0; i < mesh.vertexCount; ++i) points[i] = projectToScreen(mesh.transformed[i]);
}

}  // namespace

ScreenReport screenReport(Mesh& mesh, const std::vector<Pose>& poses) {
    ScreenReport report;
    std::vector<bool> leaves(mesh.faceCount, false);
    std::vector<ScreenPoint> points;
    for (int32_t f = 0; f < mesh.faceCount; ++f) {
        if (!validFace(mesh.faces[f], mesh)) ++report.brokenFaces;
    }
    for (const Pose& pose : poses) {
        place(mesh, pose, points);
        bool someLeave = false;
        for (int32_t f = 0; f < mesh.faceCount; ++f) {
            const Face& face = mesh.faces[f];
            if (!validFace(face, mesh)) continue;
            if (points[face.a].inside && points[face.b].inside && points[face.c].inside) continue;
            leaves[f] = true;
            someLeave = true;
        }
        if (someLeave) report.posesLeaving.push_back(pose.name);
    }
    for (bool leaving : leaves) report.facesLeaving += leaving ? 1 : 0;
    return report;
}

bool staysInside(Mesh& mesh, const std::vector<Pose>& poses, int margin) {
    std::vector<int32_t> corners;  // each vertex a face uses, once
    std::vector<bool> used(mesh.vertexCount, false);
    for (int32_t f = 0; f < mesh.faceCount; ++f) {
        const Face& face = mesh.faces[f];
        if (!validFace(face, mesh)) continue;
        for (int32_t corner : {face.a, face.b, face.c}) {
            if (!used[corner]) corners.push_back(corner);
            used[corner] = true;
        }
    }
    std::vector<ScreenPoint> points;
    for (const Pose& pose : poses) {
        place(mesh, pose, points);
        for (int32_t corner : corners) {
            const ScreenPoint& p = points[corner];
            if (!p.inside || mesh.transformed[corner].z >= 0.0f || p.x < margin || p.x > 320 - margin ||
                p.y < margin || p.y > 240 - margin) {
                return false;
            }
        }
    }
    return true;
}
