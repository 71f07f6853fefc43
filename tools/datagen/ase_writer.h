#pragma once
#include <string>

#include "tri_mesh.h"

// The mesh as an ASCII scene export file, laid out as exporters write it:
// header, scene block, material list, one geometry object with its node
// transform (the identity) and its mesh (vertex list, face list, then the
// face and vertex normals).
std::string aseText(const TriMesh& mesh);

// Writes aseText to `path`; false (with a message on standard error) when the
// file cannot be written.
bool writeAseFile(const std::string& path, const TriMesh& mesh);
