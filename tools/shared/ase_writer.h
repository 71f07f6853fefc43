#pragma once
#include <string>

#include "shared/triangle_mesh.h"

// The mesh as an ASCII scene export file, laid out as exporters write it:
// header (with `comment` on its comment line), scene block, material list, one geometry object with its node
// transform (the identity) and its mesh (vertex list, face list, then the
// face and vertex normals).
std::string aseText(const TriMesh& mesh, const std::string& comment);

// Writes aseText to `path` (through a temporary file); false with the reason
// in `error` when the file cannot be written.
bool writeAseFile(const std::string& path, const TriMesh& mesh, const std::string& comment, std::string& error);
