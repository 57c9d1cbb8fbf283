// The twelve system pictures of the content folder's SYSPIC set.
#pragma once

namespace pelmot {

class Game;
class Surface;

// Loads SysPic[index]: the picture is drawn into MainWork, kept as
// SysPic[index], and MainWork is cleared again.
void LoadSystemPicture(Game& game, int index);

// Loads SysPic[index] unless it is already there (an album page is loaded
// the first time the album shows it).
void EnsureSystemPicture(Game& game, int index);

// SysPic[kStatusSheet], loaded the first time it is asked for after
// start-up asked for it (Game::statusSheetDue). Unlike
// LoadSystemPicture this leaves MainWork alone, so it may be called while
// MainWork holds a picture.
const Surface& StatusSheet(Game& game);

// Paints the skip button's face from the status sheet unless it is painted
// already; called as the button first shows.
void PaintSkipButtonOnce(Game& game);

}  // namespace pelmot
