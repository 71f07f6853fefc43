#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "datagen.h"
#include "demo/data_files.h"
#include "letter_shapes.h"
#include "shared/ase_writer.h"
#include "tri_mesh.h"

// Sizes: the letter scenes stand the letters up with a quarter turn about x
// and spin them about the vertical axis at z translation 300 (V, O, K) or
// 200 (E), which puts them about 212 or 312 units from the eye at 512 / depth
// pixels per unit. At these scales V, O and K stand 72 units tall (about 100
// pixels from the centre to the top when closest) and E 99 units, so that all
// four look alike on screen and every corner stays inside it at every angle.
namespace {

constexpr double letterDepth = 12;  // extrusion, in outline units
constexpr double nearLetterScale = 1.125;
constexpr double farLetterScale = 1.55;
constexpr int ringSegments = 28;

// The object of the last scenes: a trefoil knot, 1,536 triangles. Its outer
// radius, 26 + 10 + 5 = 41 units, keeps it on screen at z translation 300.
TriMesh knot() { return torusKnot("knot", 2, 3, 26, 10, 5, 96, 8); }

bool writeAseFile(const std::string& path, const TriMesh& mesh) {
    std::string error;
    if (writeAseFile(path, mesh, "vokdatagen: " + mesh.name + " for zumber by vok", error)) return true;
    std::fprintf(stderr, "vokdatagen: %s: %s\n", path.c_str(), error.c_str());
    return false;
}

// Which maker makes which of the data table's meshes.
struct MeshMaker {
    const char* name;
    TriMesh (*make)();
};
const MeshMaker makers[] = {
    {"v.ase", [] { return extrudeOutline("V", letterV(), letterDepth, nearLetterScale); }},
    {"o.ase", [] { return extrudeRing("O", letterO(ringSegments), letterDepth, nearLetterScale); }},
    {"k.ase", [] { return extrudeOutline("K", letterK(), letterDepth, nearLetterScale); }},
    {"e.ase", [] { return extrudeOutline("E", letterE(), letterDepth, farLetterScale); }},
    {"test.ase", knot},
};

}  // namespace

bool writeMeshes(const std::string& directory) {
    bool ok = true;
    for (const DataFile& file : dataFiles) {
        if (file.kind != DataKind::Mesh) continue;
        const MeshMaker* maker = std::find_if(std::begin(makers), std::end(makers),
                                              [&file](const MeshMaker& m) { return std::strcmp(m.name, file.name) == 0; });
        ok = maker != std::end(makers) ? writeAseFile(directory + "/" + file.name, maker->make()) && ok
                                       : reportNoMaker(file.name) && ok;
    }
    return ok;
}
