#include "platform/cell_text.h"

#include "platform/utf8.h"

namespace pelmot {

int CellTextEngine::CharWidth(char32_t cp, int pixelSize) { return IsFullWidth(cp) ? pixelSize : pixelSize / 2; }

int CellTextEngine::Width(std::string_view utf8, int pixelSize) {
  int width = 0;
  for (char32_t cp : DecodeUtf8(utf8)) width += CharWidth(cp, pixelSize);
  return width;
}

void CellTextEngine::Draw(Surface& target, int x, int y, std::string_view utf8, Colour colour, int pixelSize) {
  for (char32_t cp : DecodeUtf8(utf8)) {
    const int w = CharWidth(cp, pixelSize);
    if (cp != U' ' && cp != U'\u3000') target.FillRect(x + 1, y + 1, w - 2, pixelSize - 2, colour);
    x += w;
  }
}

}  // namespace pelmot
