// Placing the window's controls.
#pragma once

namespace pelmot {

class Game;
class InkLayers;
class Surface;

// The font size of the page, its text layers and the menus (Msg, MsgInk,
// CMenu), as the form asks for it.
inline constexpr int kTextFontSize = 18;
// The twips per pixel of a screen at 96 dpi.
inline constexpr int kStandardTwipsPerPixel = 15;

// Positions and sizes a control; a font size other than 0 is scaled so text
// keeps its pixel size whatever the screen's logical resolution.
void PlaceControl(Game& game, Surface& control, int width, int height, int left, int top, int fontSize);
// The same for text layers, which always lie over the page's top-left corner.
void PlaceControl(Game& game, InkLayers& layers, int width, int height, int fontSize);

// The font size rule alone: points for a requested size at a screen's
// twips per pixel (15 at 96 dpi, 12 at 120 dpi).
int ScaledFontSize(int twipsPerPixel, int fontSize);
// Pixel height of a font of `points` at a screen's twips per pixel.
int FontPixels(int twipsPerPixel, int points);

}  // namespace pelmot
