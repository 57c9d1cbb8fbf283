// Whole-file reads and writes for the data files.
#pragma once

#include <optional>
#include <string>

namespace pelmot {

// Replaces the file whole: writes a temporary file beside it, flushes it to
// disk, then renames it over the old one. On failure the old file is as it
// was and `error` says why.
bool ReplaceFile(const std::string& path, const std::string& bytes, std::string& error);

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Creates an empty file if none exists; true when the file exists afterwards.
bool EnsureFileExists(const std::string& path);

}  // namespace pelmot
