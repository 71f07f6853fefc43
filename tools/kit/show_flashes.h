#pragma once
#include <string>

#include "common/data_folder.h"

#include "flash/flash_record.h"

// The show of the data set in `data`, rendered on the headless renderer's
// virtual clock and analysed frame by frame: one frame in memory at a time.
struct ShowFlashes {
    bool started = false;     // false: start-up ended the show (a missing mesh)
    std::string startFailure; // then the loader's last words
    flash::FlashRecord record;
};

ShowFlashes analyseShow(const DataFolder& data, int fps);

// One line on the flashes of a whole record: "passes: ..." or "fails: ...".
std::string flashVerdict(const flash::FlashRecord& record);

// "scene 11 (credits jitter)"; "the stream" for -1
std::string sceneLabel(int scene);
