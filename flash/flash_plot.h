#pragma once
#include <string>

#include "flash/flash_record.h"

namespace flash {

// Draws the flashes per second over the whole stream as a PNG picture: time
// runs left to right, one column for every few frames (the most of them);
// general flashes in dark blue, red flashes in red over them, a grey line at
// every whole flash count, the limit of three in orange, the scene bounds as
// dark vertical lines with the scenes shaded in turn, and a tick below every
// ten seconds. False with the reason in `error` when the file cannot be written.
bool writeFlashPlot(const FlashRecord& record, const std::string& file, std::string& error);

}  // namespace flash
