#pragma once
#include <string>

// The eighteen files the show reads, and what each slot asks of its file.
enum class SlotKind {
    ScreenPicture,  // a 320x240 picture
    Sprite,         // a picture of any size, added onto the background
    NearLetter,     // a letter turned at z translation 300
    FarLetter,      // a letter turned at z translation 200
    Object,         // the object spun at z translations 150 to 299
    Module,         // the music
};

struct Slot {
    const char* fileName;
    SlotKind kind;
    const char* use;  // how the show uses it, after "used": "as sprite 1"
};

constexpr int slotCount = 18;
extern const Slot slots[slotCount];

// The slot of a bare file name ("vok_girl.pcx"), or nullptr.
const Slot* findSlot(const std::string& fileName);

// The last component of a path.
std::string baseName(const std::string& path);
