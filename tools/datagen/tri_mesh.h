#pragma once
#include <string>
#include <vector>

#include "letter_shapes.h"
#include "shared/triangle_mesh.h"

// A solid letter: the outline in the x-z plane (z up, as a scene exporter
// stands its objects), extruded `depth` units along y, centred on y = 0,
// everything scaled by `scale`.
TriMesh extrudeOutline(const std::string& name, const Outline& outline, double depth, double scale);
TriMesh extrudeRing(const std::string& name, const Ring& ring, double depth, double scale);

// A tube of radius `tube` along the (p, q) torus knot whose core circle has
// radius `major` and whose winding swings `minor` units around it.
TriMesh torusKnot(const std::string& name, int p, int q, double major, double minor, double tube, int segments,
                  int sides);

// Triangulates a simple counter-clockwise polygon by ear clipping; the result
// indexes the polygon's points.
std::vector<Triangle> triangulate(const Outline& outline);
