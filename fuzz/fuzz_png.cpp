// PNG files read by our own reader, from the bytes alone: each input as it
// is, and again with every chunk's checksum made right, so that changes
// reach the header and the image data rather than stop at a checksum. A
// refusal must say why; whatever both our reader and SDL_image (libpng)
// decode must give the same pixels.
#include <libdeflate.h>

#include <cstdlib>

#include "fuzz_input.h"
#include "platform/common/png_decode.h"

namespace {

std::uint32_t BigEndian32(const std::string& b, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
  return v;
}

std::string WithChecksumsMadeRight(std::string file) {
  std::size_t at = 8;
  while (at + 12 <= file.size()) {
    const std::uint32_t length = BigEndian32(file, at);
    if (length > file.size() - at - 12) break;
    const auto sum = static_cast<std::uint32_t>(libdeflate_crc32(0, file.data() + at + 4, length + 4));
    for (int i = 0; i < 4; ++i) file[at + 8 + length + i] = static_cast<char>(sum >> (24 - 8 * i) & 0xFF);
    at += 12 + length;
  }
  return file;
}

void Check(const std::string& file) {
  pelmot::DecodedPicture ours;
  std::string error;
  const pelmot::PngResult result = pelmot::DecodePng(file, ours, error);
  if (result == pelmot::PngResult::kDamaged && error.empty()) std::abort();
  if (result != pelmot::PngResult::kDecoded) return;
  if (ours.width < 1 || ours.height < 1 || ours.pixels.size() != std::size_t(ours.width) * ours.height) std::abort();
  pelmot::DecodedPicture theirs;
  if (pelmot::DecodeWithSdl(file, theirs, error) && theirs.pixels != ours.pixels) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string file = pelmot::fuzz::Bytes(data, size);
  Check(file);
  const std::string mended = WithChecksumsMadeRight(file);
  if (mended != file) Check(mended);
  return 0;
}
