// Switching the display between the start-up mode and 800 x 600.
#pragma once

namespace pelmot {

class Game;

// F1 and the system menu's resolution item.
void ToggleResolution(Game& game);
// The quit paths put the start-up size back.
void RestoreStartDisplay(Game& game);
// Centres the window on the screen.
void CentreWindow(Game& game);

}  // namespace pelmot
