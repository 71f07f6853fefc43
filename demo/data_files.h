#pragma once
#include <cstring>

// The show's data files: the one list of them. The Demo's loading, the
// players' music, the programs' data-location check, the kit, the fuzz target
// and the tests all read it; every count of files comes from it. Which scenes
// draw a file is said by the scene table (demo/scenes.h), not here.

// What a file is to the show.
enum class DataKind {
    ScreenPicture,  // a 320x240 picture; any other size is drawn as black
    Sprite,         // a picture of any size, added onto a background
    Mesh,           // an ASE mesh; a missing one ends the show before it starts
    Module,         // the music: read by the players and the music writer, not by the Demo
};

struct DataFile {
    const char* name;  // in the data directory
    DataKind kind;
};

// The rows of a kind follow one another: the screen pictures, the sprites,
// the meshes and the music. The Demo reads each kind in the table's order:
// the screen pictures first, then the meshes, then the sprites.
inline constexpr DataFile dataFiles[] = {
    {"vok_zumber.pcx", DataKind::ScreenPicture},
    {"vok_logo.pcx", DataKind::ScreenPicture},
    {"vok_lomur.pcx", DataKind::ScreenPicture},
    {"vok_girl.pcx", DataKind::ScreenPicture},
    {"vok_vesk.pcx", DataKind::ScreenPicture},
    {"vok_credit.pcx", DataKind::ScreenPicture},
    {"vok_thanks.pcx", DataKind::ScreenPicture},
    {"vok_greets.pcx", DataKind::ScreenPicture},
    {"vok_mask.pcx", DataKind::ScreenPicture},
    {"part1.pcx", DataKind::Sprite},
    {"part2.pcx", DataKind::Sprite},
    {"part3.pcx", DataKind::Sprite},
    {"v.ase", DataKind::Mesh},
    {"o.ase", DataKind::Mesh},
    {"k.ase", DataKind::Mesh},
    {"e.ase", DataKind::Mesh},
    {"test.ase", DataKind::Mesh},
    {"zumber.xm", DataKind::Module},
};

inline constexpr int dataFileCount = sizeof dataFiles / sizeof dataFiles[0];

constexpr int countOf(DataKind kind) {
    int count = 0;
    for (const DataFile& file : dataFiles) count += file.kind == kind ? 1 : 0;
    return count;
}

// The index of the table's first row of a kind; the rows of a kind follow it.
constexpr int firstOf(DataKind kind) {
    for (int i = 0; i < dataFileCount; ++i) {
        if (dataFiles[i].kind == kind) return i;
    }
    return dataFileCount;
}

constexpr bool eachKindTogether() {
    for (int i = 0; i < dataFileCount; ++i) {
        const int first = firstOf(dataFiles[i].kind);
        if (i < first || i >= first + countOf(dataFiles[i].kind)) return false;
    }
    return true;
}
static_assert(eachKindTogether(), "the rows of a kind follow one another");

// The Demo's screen pictures: the table's first rows.
inline constexpr int pictureSlots = countOf(DataKind::ScreenPicture);
static_assert(firstOf(DataKind::ScreenPicture) == 0, "the screen pictures come first");

inline constexpr int spriteCount = countOf(DataKind::Sprite);
inline constexpr int meshCount = countOf(DataKind::Mesh);  // the Demo's meshes, in the table's order

// The music's file.
inline constexpr const char* moduleFile = dataFiles[firstOf(DataKind::Module)].name;
static_assert(countOf(DataKind::Module) == 1, "one module");

// The row of the file named `name`, or -1 when the table has none.
inline int dataFileIndex(const char* name) {
    for (int i = 0; i < dataFileCount; ++i) {
        if (std::strcmp(dataFiles[i].name, name) == 0) return i;
    }
    return -1;
}
