// Drawing over the composed client area in the game's own text style: the
// comforts' screens and marks never touch the game's surfaces.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "comforts/comfort_geometry.h"
#include "platform/surface.h"

namespace pelmot {

class Game;

class ComfortCanvas {
 public:
  // While set, every row of text drawn is added to it as well (what a
  // comfort's screen shows, in words).
  static std::vector<std::string>* textRecord;
  // Works on `area` of the client area `pixels` (clientWidth wide).
  ComfortCanvas(Game& game, std::span<Colour> pixels, ScreenRect area);
  // Puts the drawing back into the pixels.
  ~ComfortCanvas();
  ComfortCanvas(const ComfortCanvas&) = delete;
  ComfortCanvas& operator=(const ComfortCanvas&) = delete;

  // The picture without its text (MainWork) under the game's dimming mask,
  // as the centred menus show it, over the whole area.
  void DimmedPicture();
  // `picture` the same way, in place of the game's.
  void DimmedPicture(const Surface& picture);
  // The rows the game's text layers hold (the centred menu's on screen),
  // composed over the area as the menu composes them over its picture.
  void GameTextRows();
  // The frame the pointer draws around row `row` of the centred menu on screen.
  void MenuRowFrame(int row);
  // A row of text at x, y of the client area with the text window's shadow.
  void ShadowedText(int x, int y, std::string_view utf8);
  // The outline of `r` (client coordinates).
  void Outline(const ScreenRect& r, Colour colour);
  void HorizontalLine(int x1, int x2, int y, Colour colour);
  int TextWidth(std::string_view utf8) const;

 private:
  Game& game_;
  std::span<Colour> pixels_;
  ScreenRect area_;
  Surface surface_;
};

// A row of light `text` over `box` of the client area `pixels`, `padding`
// in from its top left and cut at its edges: where no glyph lies, each pixel
// becomes `background` of what was there.
void TextOverBox(Game& game, std::span<Colour> pixels, const ScreenRect& box, int padding, std::string_view text,
                 Colour ink, Colour (*background)(Colour under));

}  // namespace pelmot
