#pragma once
#include "common/data_folder.h"

// Before the show: when the data set's flash verdict (flashes.txt beside the
// data files, made when the data set is built or by vokkit flashes --verdict)
// says it fails, one sentence in a message box that a key or a click
// dismisses. Nothing when the file is absent or says it passes.
void warnOfFlashes(const DataFolder& data);

// The sentence, broken into lines.
extern const char* const flashWarning;
