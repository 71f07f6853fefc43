#pragma once
#include "shared/triangle_mesh.h"

// Simplifies the mesh to at most `maxFaces` triangles through meshoptimizer:
// edge collapses that keep the shape where they can, then, if that stops
// short, clustering of nearby vertices. Vertices no face uses are dropped.
// Returns false when even clustering cannot get that low.
bool reduceFaces(TriMesh& mesh, int maxFaces);
