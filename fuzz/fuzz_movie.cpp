// The logo movie: opened through the movie module, and its first pictures
// decoded.
#include <dlfcn.h>

#include "fuzz_input.h"
#include "platform/common/movie_decoder.h"
#include "platform/common/paths.h"

namespace {
constexpr int kFramesPerInput = 8;
}

// The decoder lets the module go when its last movie closes; libFuzzer
// still counts the coverage of the module's code and would write into the
// unmapped counters. Kept loaded for the whole run, it stays mapped.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const std::string module = pelmot::ExecutableFolder() + "/pelmot_movie.so";
  if (!::dlopen(module.c_str(), RTLD_NOW | RTLD_NODELETE)) return 1;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = pelmot::fuzz::WriteScratchFile("LOGO.avi", pelmot::fuzz::Bytes(data, size));
  pelmot::MovieDecoder movie;
  std::string error;
  if (!movie.Open(path, error)) return 0;
  pelmot::Surface picture(1, 1);
  std::int64_t timeMs = 0;
  for (int i = 0; i < kFramesPerInput && movie.NextFrame(picture, timeMs, error); ++i) {
  }
  return 0;
}
