#pragma once
#include <string>

// Each writes its files of the show's data table into `directory` and returns
// false (after a message on standard error) when a file cannot be written or
// the generator has nothing that makes it. The output is the same bytes on
// every run.
bool writePictures(const std::string& directory);  // the pictures and sprites
bool writeMeshes(const std::string& directory);    // the meshes
bool writeMusic(const std::string& directory);     // the module

// Says that the generator has no maker for a file of the data table, which
// the data set then lacks until one is written (vokkit check tells).
bool reportNoMaker(const char* name);
