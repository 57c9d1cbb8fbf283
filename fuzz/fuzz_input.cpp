#include "fuzz_input.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace pelmot::fuzz {

std::string WriteScratchFile(const std::string& name, const std::string& bytes) {
  static const std::string folder = [] {
    std::string pattern = "/tmp/pelmot-fuzz-XXXXXX";
    if (!::mkdtemp(pattern.data())) std::abort();
    return pattern;
  }();
  const std::string path = folder + "/" + name;
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  return path;
}

}  // namespace pelmot::fuzz
