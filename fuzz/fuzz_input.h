// What the harnesses share: the fuzzer's bytes as a string, and a file of
// them in a folder of this process's own, for readers that take a path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pelmot::fuzz {

inline std::string Bytes(const std::uint8_t* data, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

// Writes `bytes` to `name` in a scratch folder made once per process, and
// returns the file's path.
std::string WriteScratchFile(const std::string& name, const std::string& bytes);

}  // namespace pelmot::fuzz
