#pragma once
#include <cstring>

// The show's data files: the one list of them. The Demo's loading, the
// players' music, the programs' data-location check, the kit, the fuzz target
// and the tests all read it; every count of files comes from it.

// What a file is to the show.
enum class DataKind {
    ScreenPicture,  // a 320x240 picture; any other size is drawn as black
    Sprite,         // a picture of any size, added onto a background
    Mesh,           // an ASE mesh; a missing one ends the show before it starts
    Module,         // the music: read by the players and the music writer, not by the Demo
};

// The most scenes one file is used in.
constexpr int maxScenesPerFile = 6;

struct DataFile {
    const char* name;  // in the data directory
    DataKind kind;
    // The names of the scene-table rows (demo/scene_table.cpp) that use the
    // file, in show order; the rest are null. The music is in every scene and
    // names none.
    const char* scenes[maxScenesPerFile];
};

// In the order the show reads them: the screen pictures in the order of
// `Picture` below, then the sprites, the meshes (the order of the Demo's
// meshes) and the music. The Demo reads the screen pictures first, then the
// meshes, then the sprites.
inline constexpr DataFile dataFiles[] = {
    {"vok_zumber.pcx", DataKind::ScreenPicture, {"title fade-in", "channel drift"}},
    {"vok_logo.pcx", DataKind::ScreenPicture, {"logo wave"}},
    {"vok_lomur.pcx", DataKind::ScreenPicture, {"lomur wave", "letter V", "letter O", "letter K", "letter E"}},
    {"vok_girl.pcx", DataKind::ScreenPicture, {"sprites", "channel drift", "masked cross-fade"}},
    {"vok_vesk.pcx", DataKind::ScreenPicture,
     {"masked cross-fade", "lens", "credits jitter", "object and thanks", "object and greets"}},
    {"vok_credit.pcx", DataKind::ScreenPicture, {"credits jitter"}},
    {"vok_thanks.pcx", DataKind::ScreenPicture, {"object and thanks"}},
    {"vok_greets.pcx", DataKind::ScreenPicture, {"object and greets"}},
    {"vok_mask.pcx", DataKind::ScreenPicture, {"masked cross-fade"}},
    {"part1.pcx", DataKind::Sprite, {"sprites"}},
    {"part2.pcx", DataKind::Sprite, {"sprites"}},
    {"part3.pcx", DataKind::Sprite, {"sprites"}},
    {"v.ase", DataKind::Mesh, {"letter V"}},
    {"o.ase", DataKind::Mesh, {"letter O"}},
    {"k.ase", DataKind::Mesh, {"letter K"}},
    {"e.ase", DataKind::Mesh, {"letter E"}},
    {"test.ase", DataKind::Mesh, {"object and thanks", "object and greets"}},
    {"zumber.xm", DataKind::Module, {}},
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

// The picture slots of the Demo: the table's screen pictures, in its order.
enum class Picture { Zumber, Logo, Lomur, Girl, Vesk, Credit, Thanks, Greets, Mask };
inline constexpr int pictureSlots = countOf(DataKind::ScreenPicture);
static_assert(static_cast<int>(Picture::Mask) + 1 == pictureSlots, "one Picture for each screen picture");
static_assert(firstOf(DataKind::ScreenPicture) == 0, "the screen pictures come first");

constexpr const char* pictureFile(Picture slot) { return dataFiles[static_cast<int>(slot)].name; }

inline constexpr int spriteCount = countOf(DataKind::Sprite);
inline constexpr int meshCount = countOf(DataKind::Mesh);  // the Demo's meshes, in the table's order

// The music's file.
inline constexpr const char* moduleFile = dataFiles[firstOf(DataKind::Module)].name;
static_assert(countOf(DataKind::Module) == 1, "one module");

// True when the file names the scene (a row of the scene table) among its users.
inline bool usedInScene(const DataFile& file, const char* sceneName) {
    for (const char* scene : file.scenes) {
        if (scene && std::strcmp(scene, sceneName) == 0) return true;
    }
    return false;
}
