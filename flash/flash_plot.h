#pragma once
#include <string>
#include <vector>

#include "flash/flash_record.h"

namespace flash {

// Draws the transitions a second over the whole stream as a PNG picture,
// one panel for each reading: time runs left to right with a labelled tick
// every ten seconds; up, the most transitions in the second to each frame
// (general in blue, red in red), with the limits drawn and labelled (4 and
// more pass with a warning, 7 and more fail); under the broadcast panel, a
// strip where extended flashing fails. The scenes are shaded in turn with
// their numbers, and named in a legend below (sceneNames[k] names scene k).
// False with the reason in `error` when the file cannot be written.
bool writeFlashPlot(const FlashRecord& record, const std::vector<std::string>& sceneNames, const std::string& file,
                    std::string& error);

}  // namespace flash
