// The data files of the scenes: each scene row names them, and everything
// that asks which scenes use a file reads the rows.
#include "demo/data_files.h"
#include "demo/scenes.h"

std::vector<std::array<int, maxFilesPerScene>> resolveSceneFiles() {
    std::vector<std::array<int, maxFilesPerScene>> rows(static_cast<size_t>(sceneCount));
    for (int scene = 0; scene < sceneCount; ++scene) {
        for (int k = 0; k < maxFilesPerScene; ++k) {
            const char* name = sceneTable[scene].files[k];
            rows[static_cast<size_t>(scene)][static_cast<size_t>(k)] = name ? dataFileIndex(name) : -1;
        }
    }
    return rows;
}

bool sceneUses(int scene, int dataRow) {
    if (scene < 0 || scene >= sceneCount || dataRow < 0 || dataRow >= dataFileCount) return false;
    for (const char* name : sceneTable[scene].files) {
        if (name && dataFileIndex(name) == dataRow) return true;
    }
    return false;
}
