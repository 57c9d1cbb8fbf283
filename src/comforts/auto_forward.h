// Turning pages on their own: each page waits a time that grows with its
// length, then advances as a click would. It stops wherever the game stops
// skipping and whenever the player presses a mouse button.
#pragma once

#include <span>
#include <vector>

#include "platform/surface.h"

namespace pelmot {

class Game;
struct ComfortState;
struct ShownPage;

struct AutoForward {
  bool on = false;
  int lastPageChars = 0;  // characters of the page on screen
  long skipStopsSeen = 0;
};

void ToggleAutoForward(Game& game, ComfortState& comforts);
void StopAutoForward(Game& game, ComfortState& comforts);
// A page was shown: it waits its time before the next advance, counted
// from when the page is drawn whole (at once unless text has a speed).
void AutoForwardPageShown(Game& game, ComfortState& comforts, const ShownPage& page);
void AutoForwardPageDrawn(Game& game, ComfortState& comforts);
// The AutoForward timer fired.
void AutoForwardTimer(Game& game, ComfortState& comforts);
// After every event and timer: the game stopped skipping, so it stops too.
void AutoForwardAfterEvent(Game& game, ComfortState& comforts);
// The mark in the corner while it is on.
void DrawAutoForwardMark(Game& game, std::span<Colour> pixels);

}  // namespace pelmot
