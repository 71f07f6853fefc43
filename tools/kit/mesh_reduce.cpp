#include "mesh_reduce.h"

#include <meshoptimizer.h>

#include <vector>

namespace {

// Rebuilds the mesh from an index list, keeping only the vertices it uses.
void rebuild(TriMesh& mesh, const std::vector<unsigned>& indices) {
    std::vector<int> remap(mesh.vertices.size(), -1);
    std::vector<Point3> vertices;
    std::vector<Triangle> faces;
    for (size_t i = 0; i + 2 < indices.size(); i += 3) {
        int corner[3];
        for (int k = 0; k < 3; ++k) {
            unsigned v = indices[i + k];
            if (remap[v] < 0) {
                remap[v] = static_cast<int>(vertices.size());
                vertices.push_back(mesh.vertices[v]);
            }
            corner[k] = remap[v];
        }
        faces.push_back(Triangle{corner[0], corner[1], corner[2]});
    }
    mesh.vertices.swap(vertices);
    mesh.faces.swap(faces);
}

}  // namespace

bool reduceFaces(TriMesh& mesh, int maxFaces) {
    if (static_cast<int>(mesh.faces.size()) <= maxFaces) return true;
    std::vector<float> positions;
    positions.reserve(mesh.vertices.size() * 3);
    for (const Point3& p : mesh.vertices) {
        positions.push_back(static_cast<float>(p.x));
        positions.push_back(static_cast<float>(p.y));
        positions.push_back(static_cast<float>(p.z));
    }
    std::vector<unsigned> indices;
    for (const Triangle& t : mesh.faces) {
        indices.push_back(static_cast<unsigned>(t.a));
        indices.push_back(static_cast<unsigned>(t.b));
        indices.push_back(static_cast<unsigned>(t.c));
    }
    const size_t target = static_cast<size_t>(maxFaces) * 3;
    std::vector<unsigned> reduced(indices.size());
    const float anyError = 1.0f;  // relative to the mesh's size: no limit, the count decides
    size_t count = meshopt_simplify(reduced.data(), indices.data(), indices.size(), positions.data(),
                                    mesh.vertices.size(), sizeof(float) * 3, target, anyError, 0, nullptr);
    if (count > target) {
        count = meshopt_simplifySloppy(reduced.data(), indices.data(), indices.size(), positions.data(),
                                       mesh.vertices.size(), sizeof(float) * 3, target, anyError, nullptr);
    }
    if (count > target || count == 0) return false;
    reduced.resize(count);
    rebuild(mesh, reduced);
    return true;
}
