// What players of the genre expect beyond the original game: each comfort
// takes its own keys and events before the game's handlers see them, and a
// player who never uses one gets exactly the original game.
#pragma once

#include <vector>

#include "platform/surface.h"
#include "platform/window.h"

namespace pelmot {

class Game;

// True when a comfort took the event, so the game's handlers must not see it.
bool ComfortsTakeEvent(Game& game, const InputEvent& event);

// Draws what the comforts show over the composed client area.
void ComfortsDrawOver(Game& game, std::vector<Colour>& pixels);

}  // namespace pelmot
