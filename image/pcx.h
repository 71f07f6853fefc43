#pragma once
#include <memory>

#include "common/messages.h"
#include "image/image.h"

// Reads a 24-bit, three-plane, run-length coded PCX picture. A file that cannot be
// opened gives the empty 0x0 image. A picture too large to load is refused
// with a warning to `messages` and also gives the empty image.
std::unique_ptr<Image> loadPcx(const char* fileName, MessageSink& messages);
