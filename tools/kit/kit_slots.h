#pragma once
#include <string>

#include "demo/data_files.h"

// The kit's slots are the show's data files (demo/data_files.h): a file made
// for a slot takes that file's name, and what the slot asks of it follows
// from the file's kind and the scenes that use it.
using Slot = DataFile;

// The slot of a bare file name ("vok_girl.pcx"), or nullptr.
const Slot* findSlot(const std::string& fileName);

// The slot's row in the data table.
inline int slotRow(const Slot& slot) { return static_cast<int>(&slot - dataFiles); }

// How the show uses the slot's file, after "used": in the scenes "lomur wave",
// "letter V", ... (the scene rows that name the file), or "as the music".
std::string slotUse(const Slot& slot);

// The names of the slots of a kind: "v.ase, o.ase, k.ase, e.ase or test.ase".
std::string slotNames(DataKind kind);

// The last component of a path.
std::string baseName(const std::string& path);
