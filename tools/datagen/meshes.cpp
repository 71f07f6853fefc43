#include <cstdio>

#include "datagen.h"
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

}  // namespace

bool writeMeshes(const std::string& directory) {
    const std::string base = directory + "/";
    bool ok = writeAseFile(base + "v.ase", extrudeOutline("V", letterV(), letterDepth, nearLetterScale));
    ok = writeAseFile(base + "o.ase", extrudeRing("O", letterO(ringSegments), letterDepth, nearLetterScale)) && ok;
    ok = writeAseFile(base + "k.ase", extrudeOutline("K", letterK(), letterDepth, nearLetterScale)) && ok;
    ok = writeAseFile(base + "e.ase", extrudeOutline("E", letterE(), letterDepth, farLetterScale)) && ok;
    ok = writeAseFile(base + "test.ase", knot()) && ok;
    return ok;
}
