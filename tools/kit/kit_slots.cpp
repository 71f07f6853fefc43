#include "kit_slots.h"

const Slot slots[slotCount] = {
    {"vok_zumber.pcx", SlotKind::ScreenPicture, "in the title fade-in"},
    {"vok_logo.pcx", SlotKind::ScreenPicture, "in the rising wave"},
    {"vok_lomur.pcx", SlotKind::ScreenPicture, "in the falling wave and behind the letters"},
    {"vok_girl.pcx", SlotKind::ScreenPicture, "behind the sprites, in the channel drift and the cross-fade"},
    {"vok_vesk.pcx", SlotKind::ScreenPicture, "in the cross-fade and the lens, behind the last scenes"},
    {"vok_credit.pcx", SlotKind::ScreenPicture, "as the overlay of the credits scene"},
    {"vok_thanks.pcx", SlotKind::ScreenPicture, "as the overlay of the first object scene"},
    {"vok_greets.pcx", SlotKind::ScreenPicture, "as the overlay of the last scene"},
    {"vok_mask.pcx", SlotKind::ScreenPicture, "as the cross-fade's weights"},
    {"part1.pcx", SlotKind::Sprite, "as sprite 1"},
    {"part2.pcx", SlotKind::Sprite, "as sprite 2"},
    {"part3.pcx", SlotKind::Sprite, "as sprite 3"},
    {"v.ase", SlotKind::NearLetter, "as the first letter"},
    {"o.ase", SlotKind::NearLetter, "as the second letter"},
    {"k.ase", SlotKind::NearLetter, "as the third letter"},
    {"e.ase", SlotKind::FarLetter, "as the fourth letter"},
    {"test.ase", SlotKind::Object, "as the spinning object"},
    {"zumber.xm", SlotKind::Module, "as the music"},
};

const Slot* findSlot(const std::string& fileName) {
    for (const Slot& slot : slots) {
        if (fileName == slot.fileName) return &slot;
    }
    return nullptr;
}

std::string baseName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
