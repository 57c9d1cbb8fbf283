// What players of the genre expect beyond the original game: each comfort
// takes its own keys and events before the game's handlers see them, and a
// player who never uses one gets exactly the original game.
#pragma once

#include <vector>
#include <span>

#include "platform/surface.h"
#include "platform/window.h"

namespace pelmot {

class Game;

// Once the game has started: reads what the player set and has read, and
// puts the window as the settings say.
void ComfortsBegin(Game& game);

// True when a comfort took the event, so the game's handlers must not see it.
bool ComfortsTakeEvent(Game& game, const InputEvent& event);

// After every event and timer the game's handlers saw.
void ComfortsAfterEvent(Game& game);

// While a comfort's screen is open (the history of lines, the settings) the
// game's timers wait.
bool ComfortsHoldTimers(const Game& game);

// The AutoForward timer fired.
void ComfortsAutoForwardTimer(Game& game);

// Draws what the comforts show over the composed client area.
void ComfortsDrawOver(Game& game, std::span<Colour> pixels);

}  // namespace pelmot
