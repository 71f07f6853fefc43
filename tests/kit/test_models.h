#pragma once
#include <string>

// Model files written by the tests, in the formats the kit reads.

// A box of w x h x d centred on (cx, cy, cz), as OBJ with quad faces (y up).
std::string boxObj(double w, double h, double d, double cx = 0, double cy = 0, double cz = 0);

// A flat grid of n x n quads in OBJ: 2 n^2 triangles.
std::string gridObj(int n);

// An octahedron of radius 1 in glTF 2.0 with an embedded buffer, placed by a
// node that scales it by `scale` and moves it by (tx, 0, 0).
std::string octahedronGltf(double scale, double tx);

// A tetrahedron as ASCII STL (z up) and as ASCII PLY.
std::string tetrahedronStl();
std::string tetrahedronPly();
