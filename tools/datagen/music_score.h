#pragma once
#include "xm_module.h"

// "zumber.xm": twelve patterns of 64 rows at 116 BPM and speed 6, one pattern
// for each 8.2759 s unit of the show, played in order 0..11.
XmModule composeZumber();
