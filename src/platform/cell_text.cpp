#include "platform/cell_text.h"

#include <string_view>

#include "platform/utf8.h"

namespace pelmot {
namespace {

int WesternAsciiWidth(char32_t cp, int pixelSize) {
  constexpr std::u32string_view kNarrow = U"iIl.,:;'!| ", kWide = U"mwMW";
  if (kNarrow.find(cp) != std::u32string_view::npos) return pixelSize / 4;
  if (kWide.find(cp) != std::u32string_view::npos) return pixelSize * 3 / 4;
  return pixelSize * 5 / 12;
}

}  // namespace

int CellTextEngine::CharWidth(char32_t cp, int pixelSize, TextFace face) {
  if (face == TextFace::kWestern && cp >= 0x20 && cp < 0x7F) return WesternAsciiWidth(cp, pixelSize);
  return IsFullWidth(cp) ? pixelSize : pixelSize / 2;
}

int CellTextEngine::Width(std::string_view utf8, int pixelSize) {
  int width = 0;
  for (char32_t cp : DecodeUtf8(utf8)) width += CharWidth(cp, pixelSize, face_);
  return width;
}

void CellTextEngine::Draw(Surface& target, int x, int y, std::string_view utf8, Colour colour, int pixelSize) {
  for (char32_t cp : DecodeUtf8(utf8)) {
    const int w = CharWidth(cp, pixelSize, face_);
    if (cp != U' ' && cp != U'\u3000') target.FillRect(x + 1, y + 1, w - 2, pixelSize - 2, colour);
    x += w;
  }
}

}  // namespace pelmot
