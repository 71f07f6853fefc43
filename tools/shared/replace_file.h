#pragma once
#include <string>

// Writes `bytes` to a temporary file beside `path` and renames it to `path`
// only when everything was written, so a failure never leaves a partial file
// (an older file at `path` stays as it was). On failure returns false with the
// reason in `error`.
bool replaceFile(const std::string& path, const std::string& bytes, std::string& error);
