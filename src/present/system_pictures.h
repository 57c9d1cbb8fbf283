// The twelve system pictures of the content folder's SYSPIC set.
#pragma once

namespace pelmot {

class Game;

// Loads SysPic[index]: the picture is drawn into MainWork, kept as
// SysPic[index], and MainWork is cleared again.
void LoadSystemPicture(Game& game, int index);

// Loads SysPic[index] unless it is already there (an album page is loaded
// the first time the album shows it).
void EnsureSystemPicture(Game& game, int index);

}  // namespace pelmot
