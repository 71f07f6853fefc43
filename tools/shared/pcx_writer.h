#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Encodes a picture as a ZSoft PCX file, version 5, 24-bit: three 8-bit planes
// (red, green, blue) per row, run-length coded. `rgb` holds width * height
// pixels of three bytes each, row by row from the top.
//
// The header carries the size twice: in the window (x-max = width - 1,
// y-max = height - 1), which common readers use, and in the resolution fields
// at offsets 12 and 14, which the show's own reader uses. Bytes per plane line
// equals the width, so no pad byte follows a plane row, and no run crosses the
// end of a plane row.
std::vector<uint8_t> encodePcx(int width, int height, const std::vector<uint8_t>& rgb);

// Writes encodePcx's bytes to `path` (through a temporary file); false with
// the reason in `error` when the size is unusable or the file cannot be written.
// In pcx_file.cpp: encodePcx alone (pcx_writer.cpp) is portable, and the tests
// make their pictures with it on every platform.
bool writePcxFile(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb,
                  std::string& error);
