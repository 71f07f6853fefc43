#pragma once
#include "image/image.h"

// Reads a 24-bit, three-plane, run-length coded PCX picture. A file that cannot be
// opened gives the empty 0x0 image. The caller owns the result.
Image* loadPcx(const char* fileName);
