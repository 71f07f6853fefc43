#pragma once
#include <string>
#include <vector>

#include "image/image.h"

// The S key's picture: the 320x240 frame as an 8-bit RGB PNG picture, encoded
// by the system's imaging component (no DLL beside the program).
namespace screenshot {

// Writes `image` to `path`; a file that fails half-way is removed. False
// with `error` saying why.
bool writePng(const Image& image, const std::wstring& path, std::string& error);

// Writes `image` as `name` into the first of `folders` (an empty one is the
// working folder) where it can be written; a name already taken there gets
// "-2", "-3", ... before ".png". Returns the path written, or an empty one
// with `error` saying why the last folder failed.
std::wstring save(const Image& image, const std::string& name, const std::vector<std::wstring>& folders,
                  std::string& error);

// The folder the program lies in.
std::wstring programFolder();

}  // namespace screenshot
