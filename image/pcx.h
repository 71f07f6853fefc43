#pragma once
#include <cstdint>
#include <memory>

#include "common/show_context.h"
#include "image/image.h"

// The largest picture the show takes: 64 MiB of pixels.
constexpr int64_t pcxLargestPictureBytes = 64ll * 1024 * 1024;

// Reads a 24-bit, three-plane, run-length coded PCX picture. A file that cannot be
// opened (in the context's data folder) gives the empty 0x0 image. A picture of
// more than `largestBytes` bytes of pixels is refused with a warning to the
// context's messages and also gives the empty image.
std::unique_ptr<Image> loadPcx(const ShowContext& context, const char* fileName,
                               int64_t largestBytes = pcxLargestPictureBytes);
