#pragma once
#include "common/data_folder.h"

// The data set's flash verdict: flashes.txt beside the data files, made when
// the data set is built (or by `vokkit flashes --verdict`), whose first line
// is "pass" or "fail". True when it says the show fails; false when it
// passes or there is no verdict. The players warn before the show on true.
bool dataSetFailsFlashCheck(const DataFolder& data);
