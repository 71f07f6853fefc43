#pragma once
#include <cstdint>
#include <vector>

#include "xm_module.h"

// The module as the bytes of an XM 1.04 file.
std::vector<uint8_t> encodeXm(const XmModule& module);

// The packed form of one pattern's cells (without the pattern header).
std::vector<uint8_t> packPatternCells(const XmPattern& pattern);

// 16-bit sample frames as the file stores them: little-endian differences,
// the running value starting at 0.
std::vector<uint8_t> deltaEncode(const std::vector<int16_t>& frames);
