#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "flash/flash_record.h"

// The verdict file (flashes.txt beside the data files): the flash check of
// the show under both readings, scene by scene, made with the data set.
// Everything that states the verdict is made from it: the players' warning,
// the README's table and the manual page. Its first line is "pass" or
// "fail" by the WCAG reading; lines starting with '#' say what the columns
// are; then one row a scene and one for the whole show for each reading:
//   reading scene status general general-at red red-at extended fails-from fails-to name
// with times in seconds ("-" where there is none).
namespace flash {

struct VerdictRow {
    Reading reading = Reading::Wcag;
    int scene = -1;  // -1: the whole show
    Status status = Status::Pass;
    int general = 0, red = 0;                 // the most transitions in one second
    int64_t generalAtMs = -1, redAtMs = -1;   // the frame ending that second
    int64_t extendedMs = -1;                  // the broadcast reading's most flashing time within 5 s
    int64_t failsFromMs = -1, failsToMs = -1; // the first and last failing frames
    std::string name;
};

struct Verdict {
    bool fails = false;             // the first line
    std::vector<VerdictRow> rows;   // empty in a file of only the first lines
    // The row of a scene (-1: the show) under a reading; nullptr when absent.
    const VerdictRow* find(Reading reading, int scene) const;
};

// The file for a record of the whole show; sceneNames[k] names scene k.
std::string verdictText(const FlashRecord& record, const std::vector<std::string>& sceneNames);

// Reads a verdict file; false when the text is not one (no "pass" or
// "fail" first line, or a row that does not read).
bool parseVerdict(const std::string& text, Verdict& verdict);

}  // namespace flash
