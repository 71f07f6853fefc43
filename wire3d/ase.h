#pragma once
#include "wire3d/mesh.h"

// Reads the first mesh of an ASCII scene export file into `mesh`, writing the
// French progress text to standard output. A file that cannot be opened ends
// the process with status 1.
void loadAse(const char* fileName, Mesh& mesh);
