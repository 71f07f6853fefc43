#pragma once
#include "common/show_context.h"
#include "wire3d/mesh.h"

// Reads the first mesh of an ASCII scene export file in the context's data
// folder into `mesh`, handing the French progress text to the context's
// messages; a key press waiting (the context's key poll) ends the reading
// early. False, with nothing read or said, when the file cannot be opened:
// the caller reports it and ends the show.
bool loadAse(const ShowContext& context, const char* fileName, Mesh& mesh);
