#include "fuzz_input.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace pelmot::fuzz {
namespace {

std::string scratchFolder;

void RemoveScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(scratchFolder, ignored);
}

}  // namespace

std::string WriteScratchFile(const std::string& name, const std::string& bytes) {
  static const std::string folder = [] {
    std::string pattern = "/tmp/pelmot-fuzz-XXXXXX";
    if (!::mkdtemp(pattern.data())) std::abort();
    scratchFolder = pattern;
    std::atexit(RemoveScratchFolder);
    return pattern;
  }();
  const std::string path = folder + "/" + name;
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  return path;
}

}  // namespace pelmot::fuzz
