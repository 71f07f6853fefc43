#pragma once
#include "image/image.h"

#include <cstdint>

// The largest picture the show takes: 64 MiB of pixels.
constexpr int64_t pcxLargestPictureBytes = 64ll * 1024 * 1024;

// Reads a 24-bit, three-plane, run-length coded PCX picture. A file that cannot be
// opened, or whose header names a picture of more than `largestBytes` bytes of
// pixels (refused with one line on standard error), gives the empty 0x0 image.
// The caller owns the result.
Image* loadPcx(const char* fileName, int64_t largestBytes = pcxLargestPictureBytes);
