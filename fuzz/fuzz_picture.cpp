// Pictures: the loader reads the file as the game would, and draws it the
// way the game does.
#include "fuzz_input.h"
#include "platform/common/picload.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = pelmot::fuzz::WriteScratchFile("0.png", pelmot::fuzz::Bytes(data, size));
  pelmot::Surface decoded;
  pelmot::LoadImageFile(path, decoded);
  // One loader for the run: it warns about a file once, not once an input.
  static pelmot::PngPictureLoader loader;
  pelmot::Surface target;
  loader.PicLoad(target, 0, path.substr(0, path.rfind('/')));
  return 0;
}
