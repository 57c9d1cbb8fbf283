#include "shell/layout.h"

#include "game/game.h"
#include "game/screen_geometry.h"

namespace pelmot {

int ScaledFontSize(int twipsPerPixel, int fontSize) {
  int f = FloorDiv(twipsPerPixel * fontSize, 15);
  return f > fontSize ? fontSize : f;
}

int FontPixels(int twipsPerPixel, int points) {
  // 1440 twips per inch, 72 points per inch.
  return points * 1440 / (twipsPerPixel * 72);
}

void PlaceControl(Game& game, Surface& control, int width, int height, int left, int top, int fontSize) {
  if (fontSize != 0) {
    const int tpp = game.services.display.TwipsPerPixel();
    control.fontPoints = ScaledFontSize(tpp, fontSize);
    control.fontPixels = FontPixels(tpp, control.fontPoints);
  }
  if (control.Width() != width || control.Height() != height) control.Resize(width, height);
  control.left = left;
  control.top = top;
}

void PlaceControl(Game& game, InkLayers& layers, int width, int height, int fontSize) {
  const int tpp = game.services.display.TwipsPerPixel();
  layers.fontPoints = ScaledFontSize(tpp, fontSize);
  layers.fontPixels = FontPixels(tpp, layers.fontPoints);
  if (layers.Width() != width || layers.Height() != height) layers.Resize(width, height);
}

}  // namespace pelmot
