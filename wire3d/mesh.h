#pragma once
#include <cstdint>

#include "image/image.h"
#include "wire3d/math3d.h"

struct Face {
    int32_t a, b, c;
};

// A triangle mesh read from an ASE file, drawn as single-colour outlines. Its
// owner frees the three arrays with resetMesh.
struct Mesh {
    Vec4* vertices;
    Vec4* transformed;
    Face* faces;
    uint32_t color;
    int32_t faceCount;
    int32_t vertexCount;
    Matrix4 world;
    Matrix4 object;
};

extern const Matrix4 viewMatrix;  // identity with row 2 = (0, 0, 1, -512)

// Frees the mesh's arrays and zeroes every field.
void resetMesh(Mesh& mesh);
// Makes `to` (freed first) a copy of `from` with arrays of its own.
void copyMesh(const Mesh& from, Mesh& to);

// Where the renderer puts a transformed vertex: focal length 512 around
// (160, 120), truncated toward zero. A vertex at z = 0 is first moved to
// z = -0.01. `inside` when strictly inside the screen (0 < x < 320, 0 < y < 240).
struct ScreenPoint {
    int32_t x, y;
    bool inside;
};
ScreenPoint projectToScreen(Vec4& v);

// Fills mesh.transformed with view x world x object applied to every vertex.
void transformMesh(Mesh& mesh);

// Projects the mesh with focal length 512 around (160, 120) and draws every
// face whose three corners lie strictly inside the screen.
void drawWireframe(Image& target, Mesh& mesh);
