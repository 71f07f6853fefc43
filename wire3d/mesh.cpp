#include "wire3d/mesh.h"

#include <algorithm>
#include <cmath>
#include <vector>

const Matrix4 viewMatrix = {{1.0, 0.0, 0.0, 0.0,  //
                             0.0, 1.0, 0.0, 0.0,  //
                             0.0, 0.0, 1.0, -512.0,
                             0.0, 0.0, 0.0, 1.0}};

void resetMesh(Mesh& mesh) {
    delete[] mesh.vertices;
    delete[] mesh.transformed;
    delete[] mesh.faces;
    mesh = Mesh{};
}

void copyMesh(const Mesh& from, Mesh& to) {
    resetMesh(to);
    to = from;
    to.vertices = new Vec4[from.vertexCount]();
    to.transformed = new Vec4[from.vertexCount]();
    to.faces = new Face[from.faceCount]();
    std::copy(from.vertices, from.vertices + from.vertexCount, to.vertices);
    std::copy(from.transformed, from.transformed + from.vertexCount, to.transformed);
    std::copy(from.faces, from.faces + from.faceCount, to.faces);
}

namespace {

// Truncates toward zero; values that do not fit in 32 bits (or are not
// numbers) count as off-screen.
bool toScreenCoordinate(double value, int32_t& out) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) return false;
    out = static_cast<int32_t>(value);
    return true;
}

bool validCorner(int32_t index, int32_t vertexCount) { return index >= 0 && index < vertexCount; }

}  // namespace

ScreenPoint projectToScreen(Vec4& v) {
    if (v.z == 0.0f) v.z = -0.01f;
    double z = v.z;
    ScreenPoint p{0, 0, false};
    bool valid = toScreenCoordinate(160.0 - v.x * 512.0 / z, p.x) &&
                 toScreenCoordinate(120.0 - v.y * 512.0 / z, p.y);
    p.inside = valid && p.x > 0 && p.x < 320 && p.y > 0 && p.y < 240;
    return p;
}

void transformMesh(Mesh& mesh) {
    Matrix4 placed, composed;
    multiply(mesh.world, mesh.object, placed);
    multiply(viewMatrix, placed, composed);
    for (int32_t i = 0; i < mesh.vertexCount; ++i) transformPoint(composed, mesh.vertices[i], mesh.transformed[i]);
}

void drawWireframe(Image& target, Mesh& mesh) {
    transformMesh(mesh);

    // Kept between calls so that drawing a frame allocates nothing.
    static std::vector<ScreenPoint> points;
    if (points.size() < static_cast<size_t>(mesh.vertexCount)) points.resize(mesh.vertexCount);
    for (int32_t i = 0; i < mesh.vertexCount; ++i) points[i] = projectToScreen(mesh.transformed[i]);

    for (int32_t f = 0; f < mesh.faceCount; ++f) {
        const Face& face = mesh.faces[f];
        if (!validCorner(face.a, mesh.vertexCount) || !validCorner(face.b, mesh.vertexCount) ||
            !validCorner(face.c, mesh.vertexCount)) {
            continue;
        }
        const ScreenPoint& pa = points[face.a];
        const ScreenPoint& pb = points[face.b];
        const ScreenPoint& pc = points[face.c];
        if (!pa.inside || !pb.inside || !pc.inside) continue;
        target.drawLine(pa.x, pa.y, pb.x, pb.y, mesh.color);
        target.drawLine(pb.x, pb.y, pc.x, pc.y, mesh.color);
        target.drawLine(pc.x, pc.y, pa.x, pa.y, mesh.color);
    }
}
