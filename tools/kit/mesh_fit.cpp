#include "mesh_fit.h"

#include <algorithm>
#include <cmath>

namespace {

void centre(TriMesh& mesh) {
    Point3 low = mesh.vertices.front(), high = low;
    for (const Point3& p : mesh.vertices) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    const Point3 middle{(low.x + high.x) / 2, (low.y + high.y) / 2, (low.z + high.z) / 2};
    for (Point3& p : mesh.vertices) p = {p.x - middle.x, p.y - middle.y, p.z - middle.z};
}

double radius(const TriMesh& mesh) {
    double largest = 0;
    for (const Point3& p : mesh.vertices) largest = std::max(largest, std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z));
    return largest;
}

void scale(TriMesh& mesh, double factor) {
    for (Point3& p : mesh.vertices) p = {p.x * factor, p.y * factor, p.z * factor};
}

bool fitsAt(const TriMesh& unit, double size, const std::vector<Pose>& poses) {
    TriMesh scaled = unit;
    scale(scaled, size);
    OwnedMesh mesh;
    toShowMesh(scaled, mesh);
    return staysInside(mesh.mesh, poses, screenMargin);
}

}  // namespace

void toShowMesh(const TriMesh& source, OwnedMesh& target) {
    resetMesh(target.mesh);
    Mesh& mesh = target.mesh;
    mesh.vertexCount = static_cast<int32_t>(source.vertices.size());
    mesh.faceCount = static_cast<int32_t>(source.faces.size());
    mesh.vertices = new Vec4[mesh.vertexCount]();
    mesh.transformed = new Vec4[mesh.vertexCount]();
    mesh.faces = new Face[mesh.faceCount]();
    for (int32_t i = 0; i < mesh.vertexCount; ++i) {
        const Point3& p = source.vertices[i];
        mesh.vertices[i] = Vec4{static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z), 1.0f};
    }
    for (int32_t i = 0; i < mesh.faceCount; ++i) {
        const Triangle& t = source.faces[i];
        mesh.faces[i] = Face{t.a, t.b, t.c};
    }
}

bool fitToSlot(TriMesh& mesh, const Slot& slot, std::string& error) {
    centre(mesh);
    const double extent = radius(mesh);
    if (!(extent > 0) || !std::isfinite(extent)) {
        error = "the model has no size: all its corners lie at one point";
        return false;
    }
    scale(mesh, 1.0 / extent);
    // Radius 0 always fits; at radius 200 a corner would reach behind the eye.
    const std::vector<Pose> poses = showPoses(slot);
    double fits = 0.0, fails = 200.0;
    for (int step = 0; step < 18; ++step) {  // to within 0.001 units
        const double middle = (fits + fails) / 2;
        (fitsAt(mesh, middle, poses) ? fits : fails) = middle;
    }
    scale(mesh, fits);
    return true;
}
