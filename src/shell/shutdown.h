// Closing the window.
#pragma once

namespace pelmot {

class Game;

// The player closes the window: asks first; on yes (in this event or a later
// one) closes the movie, puts back the start-up display, writes the
// last-play stamp and ends the game.
void Form_QueryUnload(Game& game);

// Closes the movie, puts back the start-up display, writes the last-play
// stamp and ends the program: the title's, the system menu's and the
// window's quit.
void QuitSequence(Game& game);

}  // namespace pelmot
