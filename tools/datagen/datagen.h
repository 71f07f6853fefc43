#pragma once
#include <string>

// Each writes its files into `directory` and returns false (after a message on
// standard error) when a file cannot be written. The output is the same bytes
// on every run.
bool writePictures(const std::string& directory);  // the twelve .pcx files
bool writeMeshes(const std::string& directory);    // the five .ase files
bool writeMusic(const std::string& directory);     // zumber.xm
