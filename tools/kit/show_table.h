#pragma once
#include <cstdint>
#include <string>

#include "common/data_folder.h"

// The frame table of the show of the data set in `data`: the `vokdemo --render --fps 60 --hash` lines
// that `vokdemo --verify` compares a machine's frames with.
struct ShowTable {
    bool started = false;  // false: start-up ended the show (a missing mesh)
    int64_t frames = 0;
    std::string text;  // one line a frame
};

ShowTable makeShowTable(const DataFolder& data);
