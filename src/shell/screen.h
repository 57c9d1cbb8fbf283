// What the player sees: the 800 x 600 client area of the window.
#pragma once

#include <span>

#include "platform/surface.h"

namespace pelmot {

class Game;

// After an event: shown surfaces catch up with what persistent drawing
// changed, as a window repaints when its handler returns.
void AfterEvent(Game& game);

// The client area: the window's black background, MainPic at its position
// (while visible), and the skip button over it (while visible).
void ComposeClientArea(const Game& game, std::span<Colour> out);
// The same for rows top ... bottom - 1 of `out` alone.
void ComposeClientAreaRows(const Game& game, std::span<Colour> out, int top, int bottom);

}  // namespace pelmot
