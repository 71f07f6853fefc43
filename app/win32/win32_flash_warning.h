#pragma once
#include "common/data_folder.h"

// Before the show: when the data set's flash verdict (flashes.txt beside the
// data files) says it fails, the sentence of the scenes and times that fail,
// with the gentle mode offered, in a message box with two buttons,
// play (OK) or quit (Cancel, and Escape). True when the show is to play:
// always when the file is absent or says it passes.
bool agreesToFlashes(const DataFolder& data);
