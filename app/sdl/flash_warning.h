#pragma once
#include <string>

#include "common/data_folder.h"

// Before the show: when the data set's flash verdict says the show fails,
// the warning sentence (which scenes, when) and the gentle mode's offer in a
// message box that a key or a click dismisses. Nothing when the verdict is
// absent or says the show passes.
void warnOfFlashes(const DataFolder& data);

// The box's text for a warning sentence: with the offer, broken into lines
// of at most `width` characters, since SDL's box does not wrap.
std::string flashWarningBox(const std::string& warning, size_t width = 60);
