#include "show_poses.h"

#include <cstdio>

#include "demo/demo.h"

namespace {

constexpr int zTranslation = 4 * 2 + 3;  // element (row 2, column 3)
constexpr int turns = 256;

// Scene numbers of the timeline.
constexpr int objectScenes[] = {12, 13};

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

// The letter scenes' rotation: a quarter turn about x, then `angle` about y.
Pose letterPose(int angle, double z) {
    Matrix4 r1, r2, r3;
    rotateX(r1, 64);
    rotateY(r2, angle);
    rotateZ(r3, 0);
    multiply(r2, r3, r2);
    Pose pose;
    multiply(r2, r1, pose.world);
    pose.world.m[zTranslation] = z;
    pose.name = "turn " + std::to_string(angle) + "/256";
    return pose;
}

// The object scenes' rotation at show time t.
Pose objectPose(float t, double z) {
    Matrix4 p, q, r;
    rotateX(p, static_cast<int32_t>(t * 16.0f));
    rotateY(q, static_cast<int32_t>(t * 64.0f));
    rotateZ(r, static_cast<int32_t>(t * 32.0f));
    multiply(q, r, q);
    Pose pose;
    multiply(q, p, pose.world);
    pose.world.m[zTranslation] = z;
    pose.name = format("%.2f s", t);
    return pose;
}

bool isObjectScene(int scene) { return scene == objectScenes[0] || scene == objectScenes[1]; }

}  // namespace

std::vector<Pose> showPoses(SlotKind kind) {
    fillAngleTables();
    std::vector<Pose> poses;
    if (kind == SlotKind::NearLetter || kind == SlotKind::FarLetter) {
        const double z = kind == SlotKind::NearLetter ? 300.0 : 200.0;
        poses.push_back(unturned(z));
        for (int angle = 0; angle < turns; ++angle) poses.push_back(letterPose(angle, z));
    } else if (kind == SlotKind::Object) {
        const double nearest = 299.0;  // 200 + rand() % 100 and 150 + rand() % 150 both reach 299
        poses.push_back(unturned(nearest));
        // Every angle changes at multiples of 1/64 s, so one time inside each
        // 1/64 s step meets every rotation the scenes can show.
        for (int step = 0;; ++step) {
            const float t = (static_cast<float>(step) + 0.5f) / 64.0f;
            const int scene = sceneForTime(t);
            if (scene == sceneEnd) break;
            if (isObjectScene(scene)) poses.push_back(objectPose(t, nearest));
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
