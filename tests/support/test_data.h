#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Builders of small data files for tests.

// A 24-bit three-plane PCX file; colour(x, y) gives 0xRRGGBB. Runs of equal
// bytes are coded as runs, so the files exercise the decoder.
std::vector<uint8_t> makePcx(int width, int height, const std::function<uint32_t(int, int)>& colour);

// ASE text with the given vertices (x, y, z triples) and faces (a, b, c triples).
std::string makeAse(const std::vector<float>& vertices, const std::vector<int>& faces);

// Writes a complete, small data set into `directory`: the twelve pictures
// (distinct patterns), four letter meshes and the object mesh, no music.
void writeTestDataSet(const std::string& directory);
