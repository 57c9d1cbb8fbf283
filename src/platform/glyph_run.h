// A run of pixels a glyph colours in one row, from the top-left corner of
// its character cell: how fonts hand their glyphs to whoever inks them.
#pragma once

#include <cstdint>

namespace pelmot {

struct GlyphRun {
  std::int16_t dy, dx, length;
};

}  // namespace pelmot
