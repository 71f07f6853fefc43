#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Builders of small data files for tests.

// A 24-bit three-plane PCX file encoded by the tools' own writer
// (tools/shared/pcx_writer.h); colour(x, y) gives 0xRRGGBB. Runs of equal
// bytes are coded as runs, so the files exercise the decoder.
std::vector<uint8_t> makePcx(int width, int height, const std::function<uint32_t(int, int)>& colour);

// ASE text with the given vertices (x, y, z triples) and faces (a, b, c triples).
std::string makeAse(const std::vector<float>& vertices, const std::vector<int>& faces);

// Writes a complete, small data set into `directory`: every picture and mesh
// of the data table (distinct patterns, small pyramids), no music.
void writeTestDataSet(const std::string& directory);
