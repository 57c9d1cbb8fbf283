// Picks: turning a press on MainPic into a row of the menu or choice on
// screen, or a region of the album page. The current mode's unit decides.
#pragma once

#include <optional>

#include "game/screen_geometry.h"

namespace pelmot {

class Game;

// A left press on an enabled MainPic while ClickAdvances is false.
void PickAt(Game& game, int x, int y);

// The middle of row `row` (0 = first item) of the choice or menu on screen,
// in MainPic coordinates, or nothing when the row has no text to press on.
// In the album (kModeAlbum) `row` is a cell 0 ... 8 in reading order.
std::optional<Point> PickPoint(const Game& game, int row);

}  // namespace pelmot
