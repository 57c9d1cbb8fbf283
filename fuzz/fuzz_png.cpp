// PNG files read by our own reader, from the bytes alone. Whatever both it
// and SDL_image (libpng) decode must give the same pixels.
#include <cstdlib>

#include "fuzz_input.h"
#include "platform/common/png_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string file = pelmot::fuzz::Bytes(data, size);
  pelmot::DecodedPicture ours;
  std::string error;
  const pelmot::PngResult result = pelmot::DecodePng(file, ours, error);
  if (result == pelmot::PngResult::kDamaged && error.empty()) std::abort();
  if (result != pelmot::PngResult::kDecoded) return 0;
  if (ours.width < 1 || ours.height < 1 || ours.pixels.size() != std::size_t(ours.width) * ours.height) std::abort();
  pelmot::DecodedPicture theirs;
  if (pelmot::DecodeWithSdl(file, theirs, error) && theirs.pixels != ours.pixels) std::abort();
  return 0;
}
