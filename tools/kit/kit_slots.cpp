#include "kit_slots.h"

#include "demo/scenes.h"

const Slot* findSlot(const std::string& fileName) {
    for (const Slot& slot : dataFiles) {
        if (fileName == slot.name) return &slot;
    }
    return nullptr;
}

std::string slotUse(const Slot& slot) {
    if (slot.kind == DataKind::Module) return "as the music";
    std::string scenes;
    int count = 0;
    for (int scene = 0; scene < sceneCount; ++scene) {
        if (!sceneUses(scene, slotRow(slot))) continue;
        scenes += (count++ == 0 ? "\"" : ", \"") + std::string(sceneName(scene)) + "\"";
    }
    return (count > 1 ? "in the scenes " : "in the scene ") + scenes;
}

std::string slotNames(DataKind kind) {
    std::string names;
    const int count = countOf(kind);
    for (int i = 0; i < count; ++i) {
        names += (i == 0 ? "" : i + 1 == count ? " or " : ", ") + std::string(dataFiles[firstOf(kind) + i].name);
    }
    return names;
}

std::string baseName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
