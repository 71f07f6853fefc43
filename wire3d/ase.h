#pragma once
#include "common/messages.h"
#include "wire3d/mesh.h"

// Reads the first mesh of an ASCII scene export file into `mesh`, handing the
// French progress text to `messages`. False, with nothing read or said, when
// the file cannot be opened: the caller reports it and ends the show.
bool loadAse(const char* fileName, Mesh& mesh, MessageSink& messages);
