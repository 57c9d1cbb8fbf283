// Our own PNG reader for the pictures games ship: 8-bit truecolour (with or
// without alpha), 8-bit grey with alpha, grey of 1 to 8 bits without a
// transparent level, and palettes of 1 to 8 bits; not interlaced. It gives
// the same pixels as libpng through SDL_image (alpha is dropped), at about
// half the cost: the image data is inflated by libdeflate in one call.
//
// Every chunk's length is checked against the bytes left and its checksum
// against its bytes; the image data must inflate to exactly the size the
// header's width, height and layout make.
#pragma once

#include <string>
#include <string_view>

#include "platform/common/picload.h"

namespace pelmot {

enum class PngResult {
  kDecoded,      // `out` holds the picture
  kOtherFormat,  // not a PNG, or one of a kind this reader leaves to SDL_image
  kDamaged,      // a broken or lying file; `error` says what is wrong
};

// Decodes the PNG file `file` (the whole file) of at most 800 x 600 into
// 0x00RRGGBB pixels.
PngResult DecodePng(std::string_view file, DecodedPicture& out, std::string& error);
// The same, reusing `scratch`'s buffers (and `out`'s pixels).
PngResult DecodePng(std::string_view file, DecodedPicture& out, std::string& error, DecodeScratch& scratch);

}  // namespace pelmot
