#pragma once
#include <string>

#include "common/data_folder.h"

// The data set's flash verdict: flashes.txt beside the data files, made when
// the data set is built (or by `vokkit flashes --verdict`), whose first line
// is "pass" or "fail" by the WCAG reading. True when it says the show fails;
// false when it passes or there is no verdict.
bool dataSetFailsFlashCheck(const DataFolder& data);

// The warning the players give before the show: empty when the verdict says
// the show passes (or there is none); otherwise one sentence naming the
// scenes that fail and when, such as "This show has rapid flashes that can
// trigger seizures in people with photosensitive epilepsy: in scene 12,
// object and thanks (1:22 to 1:31)." Each player adds how to play it gently.
std::string flashWarning(const DataFolder& data);
