// A text engine with the font's metrics and no glyphs: full-width characters
// one em wide, half-width ones half an em. Each character is drawn as a
// solid block inset one pixel in its cell. For tests that need exact widths
// and pixels without a font.
#pragma once

#include "platform/services.h"

namespace pelmot {

class CellTextEngine : public TextEngine {
 public:
  int Width(std::string_view utf8, int pixelSize) override;
  void Draw(Surface& target, int x, int y, std::string_view utf8, Colour colour, int pixelSize) override;
  static int CharWidth(char32_t cp, int pixelSize);
};

}  // namespace pelmot
