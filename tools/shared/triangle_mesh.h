#pragma once
#include <string>
#include <vector>

struct Point3 {
    double x, y, z;
};

// A triangle with the exporter's edge-visibility flags: an edge is visible
// unless it is the hidden diagonal of a quad or of a filled polygon.
struct Triangle {
    int a, b, c;
    bool ab = true, bc = true, ca = true;
};

// A triangle mesh as the ASE writer puts it out.
struct TriMesh {
    std::string name;
    std::vector<Point3> vertices;
    std::vector<Triangle> faces;
    bool smooth = false;  // smoothing group 1 (shared vertex normals) or flat faces
};
