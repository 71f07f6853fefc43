#pragma once
#include <string>
#include <vector>

#include "common/data_folder.h"

#include "flash/flash_record.h"

namespace flash {
class HeatMap;
}

// The show of the data set in `data`, rendered on the headless renderer's
// virtual clock and analysed frame by frame: one frame in memory at a time.
// With a heat map, it sees every frame.
struct ShowFlashes {
    bool started = false;     // false: start-up ended the show (a missing mesh)
    std::string startFailure; // then the loader's last words
    flash::FlashRecord record;
};

ShowFlashes analyseShow(const DataFolder& data, int fps, flash::FieldSize field = flash::wcagField,
                        flash::HeatMap* heatMap = nullptr);

// One line on a whole record under one reading, starting with its status:
// "FAIL (WCAG 2.3.1): 23 general transitions in the second to ...".
std::string flashVerdict(const flash::FlashRecord& record, flash::Reading reading);

// "scene 11 (credits jitter)"; "the stream" for -1
std::string sceneLabel(int scene);

// Every scene's name, by number.
std::vector<std::string> sceneNames();
