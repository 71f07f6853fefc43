#pragma once
#include <string>

#include "shared/triangle_mesh.h"

// Which way is up in the model file. The show stands its meshes with z up.
enum class UpAxis { Y, Z };

// The usual up axis of a model as Assimp hands it over: z for STL, y for the
// rest (Assimp itself turns 3DS models, which stand on z, to stand on y).
UpAxis usualUpAxis(const std::string& path);

// Reads every triangle of every mesh in a model file through Assimp (OBJ,
// glTF 2.0, STL, PLY, 3DS and the other formats it knows), with the node
// transforms applied, into one mesh whose corners at the same position are
// one vertex. Points, lines and faces that collapse to a line are dropped.
// Axes are turned so that `up` becomes the show's z and the model's front
// faces the viewer. False with the reason in `error` when the file cannot be
// read or holds no triangle.
bool readModel(const std::string& path, UpAxis up, TriMesh& mesh, std::string& error);
