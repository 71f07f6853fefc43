#include "tri_mesh.h"

#include <cmath>

namespace {

double cross(Point2 o, Point2 a, Point2 b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

bool insideTriangle(Point2 p, Point2 a, Point2 b, Point2 c) {
    return cross(a, b, p) >= 0 && cross(b, c, p) >= 0 && cross(c, a, p) >= 0;
}

// An ear at position i of the remaining polygon: convex, and no other
// remaining point inside it.
bool isEar(const Outline& outline, const std::vector<int>& remaining, size_t i) {
    const size_t n = remaining.size();
    const int ia = remaining[(i + n - 1) % n], ib = remaining[i], ic = remaining[(i + 1) % n];
    const Point2 a = outline[ia], b = outline[ib], c = outline[ic];
    if (cross(a, b, c) <= 0) return false;
    for (int other : remaining)
        if (other != ia && other != ib && other != ic && insideTriangle(outline[other], a, b, c)) return false;
    return true;
}

bool outlineEdge(int i, int j, int n) { return (i + 1) % n == j || (j + 1) % n == i; }

Triangle flagged(int a, int b, int c, int n) {
    return {a, b, c, outlineEdge(a, b, n), outlineEdge(b, c, n), outlineEdge(c, a, n)};
}

// Two triangles for the quad a-b-c-d; the diagonal a-c is hidden.
void addQuad(TriMesh& mesh, int a, int b, int c, int d) {
    mesh.faces.push_back({a, b, c, true, true, false});
    mesh.faces.push_back({a, c, d, false, true, true});
}

// The points of a loop at both faces of the slab: front (y = -depth/2) at
// first + i, back at first + n + i.
int addSlabLoop(TriMesh& mesh, const Outline& loop, double depth, double scale) {
    const int first = static_cast<int>(mesh.vertices.size());
    for (const Point2& p : loop) mesh.vertices.push_back({p.x * scale, -depth / 2 * scale, p.y * scale});
    for (const Point2& p : loop) mesh.vertices.push_back({p.x * scale, depth / 2 * scale, p.y * scale});
    return first;
}

// The side wall of a loop, facing outwards for a counter-clockwise loop.
void addWall(TriMesh& mesh, int first, int n, bool inward) {
    for (int i = 0; i < n; ++i) {
        const int j = (i + 1) % n;
        const int f0 = first + i, f1 = first + j, b0 = first + n + i, b1 = first + n + j;
        if (inward) addQuad(mesh, f0, f1, b1, b0);
        else addQuad(mesh, f1, f0, b0, b1);
    }
}

}  // namespace

std::vector<Triangle> triangulate(const Outline& outline) {
    std::vector<Triangle> triangles;
    const int n = static_cast<int>(outline.size());
    std::vector<int> remaining;
    for (int i = 0; i < n; ++i) remaining.push_back(i);
    while (remaining.size() > 3) {
        size_t ear = 0;
        while (ear < remaining.size() && !isEar(outline, remaining, ear)) ++ear;
        if (ear == remaining.size()) break;  // not a simple polygon: stop rather than loop
        const size_t m = remaining.size();
        triangles.push_back(flagged(remaining[(ear + m - 1) % m], remaining[ear], remaining[(ear + 1) % m], n));
        remaining.erase(remaining.begin() + static_cast<long>(ear));
    }
    if (remaining.size() == 3) triangles.push_back(flagged(remaining[0], remaining[1], remaining[2], n));
    return triangles;
}

TriMesh extrudeOutline(const std::string& name, const Outline& outline, double depth, double scale) {
    TriMesh mesh;
    mesh.name = name;
    const int n = static_cast<int>(outline.size());
    const int first = addSlabLoop(mesh, outline, depth, scale);
    // Counter-clockwise in x-z is counter-clockwise seen from -y, the front;
    // the back faces turn the other way.
    for (Triangle t : triangulate(outline)) {
        mesh.faces.push_back({first + t.a, first + t.b, first + t.c, t.ab, t.bc, t.ca});
        mesh.faces.push_back({first + n + t.a, first + n + t.c, first + n + t.b, t.ca, t.bc, t.ab});
    }
    addWall(mesh, first, n, false);
    return mesh;
}

TriMesh extrudeRing(const std::string& name, const Ring& ring, double depth, double scale) {
    TriMesh mesh;
    mesh.name = name;
    const int n = static_cast<int>(ring.outer.size());
    const int outer = addSlabLoop(mesh, ring.outer, depth, scale);
    const int inner = addSlabLoop(mesh, ring.inner, depth, scale);
    for (int i = 0; i < n; ++i) {
        const int j = (i + 1) % n;
        addQuad(mesh, outer + i, outer + j, inner + j, inner + i);                  // front
        addQuad(mesh, outer + n + i, inner + n + i, inner + n + j, outer + n + j);  // back
    }
    addWall(mesh, outer, n, false);
    addWall(mesh, inner, n, true);
    return mesh;
}

namespace {

Point3 sub(Point3 a, Point3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Point3 crossProduct(Point3 a, Point3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Point3 normalised(Point3 v) {
    const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / length, v.y / length, v.z / length};
}

Point3 knotPoint(int p, int q, double major, double minor, double t) {
    const double r = major + minor * std::cos(q * t);
    return {r * std::cos(p * t), r * std::sin(p * t), minor * std::sin(q * t)};
}

}  // namespace

TriMesh torusKnot(const std::string& name, int p, int q, double major, double minor, double tube, int segments,
                  int sides) {
    TriMesh mesh;
    mesh.name = name;
    mesh.smooth = true;
    const double pi = 3.14159265358979323846;
    for (int i = 0; i < segments; ++i) {
        const double t = 2.0 * pi * i / segments, dt = 1e-3;
        const Point3 centre = knotPoint(p, q, major, minor, t);
        const Point3 tangent = normalised(sub(knotPoint(p, q, major, minor, t + dt), knotPoint(p, q, major, minor, t - dt)));
        // The knot never passes the origin, so the direction from it gives a
        // frame that turns smoothly with the tube.
        const Point3 binormal = normalised(crossProduct(tangent, centre));
        const Point3 normal = crossProduct(binormal, tangent);
        for (int k = 0; k < sides; ++k) {
            const double a = 2.0 * pi * k / sides;
            const double c = std::cos(a) * tube, s = std::sin(a) * tube;
            mesh.vertices.push_back({centre.x + normal.x * c + binormal.x * s, centre.y + normal.y * c + binormal.y * s,
                                     centre.z + normal.z * c + binormal.z * s});
        }
    }
    for (int i = 0; i < segments; ++i)
        for (int k = 0; k < sides; ++k) {
            const int i1 = (i + 1) % segments, k1 = (k + 1) % sides;
            addQuad(mesh, i * sides + k, i * sides + k1, i1 * sides + k1, i1 * sides + k);
        }
    return mesh;
}
