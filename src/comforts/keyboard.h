// The keyboard beside the pointer: while a menu, choice or album page waits
// for a pick, Up / Down / Tab (and the arrows on the album page) move a
// frame over its rows and Enter or Space picks the framed one, exactly as a
// press there would. Space advances as Enter does, and Escape is a right
// click wherever it comes.
#pragma once

#include "platform/window.h"

namespace pelmot {

class Game;

// True when the keyboard took the event; the game's handlers must not see it.
bool KeyboardTakesEvent(Game& game, const InputEvent& event);

}  // namespace pelmot
