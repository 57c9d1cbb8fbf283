// The album page for the keyboard: the arrows move a frame over its places
// (the nine cells in reading order, then the previous, leave and next
// buttons above them) and Enter presses the framed one.
#pragma once

#include "game/screen_geometry.h"

namespace pelmot {

class Game;

// Nothing framed yet.
inline constexpr int kNoAlbumPlace = -1;

// The place an arrow key or Tab (a VirtualKey) reaches from `from` on album
// page `page`; from kNoAlbumPlace, the first cell. Where the key leads
// nowhere (past an edge, to the last page's missing cell) it stays.
int AlbumPlaceAfterKey(int page, int from, int key);
// The point of MainPic a press on `place` lands on.
Point AlbumPlaceMiddle(int place);
// Repaints the page from MainWork and frames `place` on it.
void FrameAlbumPlace(Game& game, int place);

}  // namespace pelmot
