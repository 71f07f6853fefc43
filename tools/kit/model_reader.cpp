#include "model_reader.h"

#include <assimp/cimport.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <tuple>

namespace {

std::string lowerExtension(const std::string& path) {
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos) return "";
    std::string extension = path.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

// Assimp reports a missing file as a format problem; say plainly why the
// file cannot be opened first.
bool openable(const std::string& path, std::string& error) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    std::fclose(file);
    return true;
}

// The show looks along its y axis at angle 0 with z up and x to the right, so
// a y-up model (front towards +z) maps (x, y, z) -> (x, z, y); a z-up model
// (front towards -y) keeps its axes but turns its front: (x, y, z) -> (x, -y, z).
Point3 toShowAxes(const aiVector3D& v, UpAxis up) {
    if (up == UpAxis::Y) return Point3{v.x, v.z, v.y};
    return Point3{v.x, -v.y, v.z};
}

class VertexWelder {
public:
    explicit VertexWelder(TriMesh& mesh) : mesh_(mesh) {}

    int index(const Point3& p) {
        auto key = std::make_tuple(p.x, p.y, p.z);
        auto found = indices_.find(key);
        if (found != indices_.end()) return found->second;
        int next = static_cast<int>(mesh_.vertices.size());
        mesh_.vertices.push_back(p);
        indices_.emplace(key, next);
        return next;
    }

private:
    TriMesh& mesh_;
    std::map<std::tuple<double, double, double>, int> indices_;
};

void addTriangles(const aiMesh& source, UpAxis up, VertexWelder& welder, TriMesh& mesh) {
    for (unsigned f = 0; f < source.mNumFaces; ++f) {
        const aiFace& face = source.mFaces[f];
        if (face.mNumIndices != 3) continue;
        int corner[3];
        for (int k = 0; k < 3; ++k) corner[k] = welder.index(toShowAxes(source.mVertices[face.mIndices[k]], up));
        if (corner[0] == corner[1] || corner[1] == corner[2] || corner[2] == corner[0]) continue;
        mesh.faces.push_back(Triangle{corner[0], corner[1], corner[2]});
    }
}

}  // namespace

UpAxis usualUpAxis(const std::string& path) {
    const std::string extension = lowerExtension(path);
    return extension == "stl" ? UpAxis::Z : UpAxis::Y;
}

bool readModel(const std::string& path, UpAxis up, TriMesh& mesh, std::string& error) {
    if (!openable(path, error)) return false;
    const unsigned flags = aiProcess_Triangulate | aiProcess_PreTransformVertices | aiProcess_SortByPType |
                           aiProcess_ValidateDataStructure;
    const aiScene* scene = aiImportFile(path.c_str(), flags);
    if (!scene) {
        error = std::string("not a model Assimp can read: ") + aiGetErrorString();
        return false;
    }
    mesh = TriMesh{};
    VertexWelder welder(mesh);
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) addTriangles(*scene->mMeshes[m], up, welder, mesh);
    aiReleaseImport(scene);
    // Corners of dropped faces may have left vertices no face uses.
    std::vector<int> used(mesh.vertices.size(), -1);
    std::vector<Point3> kept;
    for (Triangle& t : mesh.faces) {
        for (int* corner : {&t.a, &t.b, &t.c}) {
            if (used[*corner] < 0) {
                used[*corner] = static_cast<int>(kept.size());
                kept.push_back(mesh.vertices[*corner]);
            }
            *corner = used[*corner];
        }
    }
    mesh.vertices.swap(kept);
    if (mesh.faces.empty()) {
        error = "the model holds no triangles";
        return false;
    }
    return true;
}
