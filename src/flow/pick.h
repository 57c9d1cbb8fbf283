// Picks: turning a press on MainPic into a row of the menu or choice on
// screen, or a region of the album page.
#pragma once

#include <optional>
#include <string>

namespace pelmot {

class Game;

// A left press on an enabled MainPic while ClickAdvances is false.
void PickAt(Game& game, int x, int y);

struct Point {
  int x;
  int y;
};

// The middle of row `row` (0 = first item) of the choice or menu on screen,
// in MainPic coordinates, or nothing when the row has no text to press on.
// In the album (FlowMode 3) `row` is a cell 0 ... 8 in reading order.
std::optional<Point> PickPoint(const Game& game, int row);

// Album page click regions.
enum class AlbumRegion { None, Previous, Leave, Next, Cell };
struct AlbumHit {
  AlbumRegion region = AlbumRegion::None;
  int cell = 0;  // 3 * row + column, for AlbumRegion::Cell
};
AlbumHit HitTestAlbum(int x, int y);

}  // namespace pelmot
