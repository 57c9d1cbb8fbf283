// The keyboard beside the pointer: while a menu, choice or album page waits
// for a pick, Up / Down / Tab (and the arrows on the album page) move a
// frame over its rows and Enter or Space picks the framed one, exactly as a
// press there would. Space advances as Enter does, and Escape is a right
// click wherever it comes.
#pragma once

#include <cstdint>

#include "platform/window.h"

namespace pelmot {

class Game;

// The framed row (or album place) and the list it belongs to: a list drawn
// anew forgets it, so a fresh menu starts unframed. On the album the place
// outlives the viewer and the page's redrawing, for the same page, but
// its frame is gone until a key draws it again.
struct KeyboardFocus {
  int flowMode = -1;
  std::uint64_t list = 0;  // the revision of the surface the list was drawn on
  int albumPage = -1;
  int row = -1;        // -1: none
  bool shown = false;  // the frame of `row` is on screen
};

// True when the keyboard took the event; the game's handlers must not see it.
bool KeyboardTakesEvent(Game& game, KeyboardFocus& focus, const InputEvent& event);

}  // namespace pelmot
