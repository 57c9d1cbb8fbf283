// A text engine with the font's metrics and no glyphs: full-width characters
// one em wide, half-width ones half an em. Each character is drawn as a
// solid block inset one pixel in its cell. For tests that need exact widths
// and pixels without a font.
//
// In the western face ASCII is proportional, as in a real western font:
// "iIl.,:;'!| " a quarter em, "mwMW" three quarters, the rest five twelfths
// (6, 18 and 10 pixels at 24); every other character keeps its cell.
#pragma once

#include "platform/services.h"

namespace pelmot {

class CellTextEngine : public TextEngine {
 public:
  void SetFace(TextFace face) override { face_ = face; }
  int Width(std::string_view utf8, int pixelSize) override;
  void Draw(Surface& target, int x, int y, std::string_view utf8, Colour colour, int pixelSize) override;
  static int CharWidth(char32_t cp, int pixelSize, TextFace face = TextFace::kWindow);

 private:
  TextFace face_ = TextFace::kWindow;
};

}  // namespace pelmot
