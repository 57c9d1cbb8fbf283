// The author's overlay (F12, with --author): where the story stands (scene,
// lane, step, the line's translation ID), the pictures on screen, the
// values, and the picks made so far; C copies that route as a headless
// script. Without --author it takes no key and draws nothing.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "platform/surface.h"
#include "platform/window.h"

namespace pelmot {

class Game;
struct ComfortState;

struct AuthorOverlay {
  bool enabled = false;  // --author
  bool open = false;
  // The play the route belongs to (Game::playsBegun), and the history entry
  // it starts from: the first page of a new game or a load, or where a warp
  // arrived.
  int play = -1;
  int startEntry = 0;
  // Set by a warp: its place (as `warp` takes it) and the picks it took.
  std::string warpPlace;
  std::vector<int> warpPicks;
  // The picks since, by the history entry of their choice.
  struct Pick {
    int entry, scene, step, row;
  };
  std::vector<Pick> picks;
  Pick lastHeard{-1, -1, -1, -1};  // the history's pick last taken in
};

// F12 opens and closes the overlay; C, while it is open, copies the route.
bool AuthorOverlayTakesEvent(Game& game, ComfortState& c, const InputEvent& e);
// After each event: a new play begins the route afresh; a pick joins it.
void AuthorOverlayEventEnds(const Game& game, ComfortState& c);
// After a warp: the route starts with the warp to `place`.
void AuthorRouteStartsAtWarp(const Game& game, ComfortState& c, const std::string& place, std::vector<int> picks);
// The route from the start of the play to the line on screen, as a headless
// script: from the title for a new game, else a `warp` to where the play
// began, then the clicks and picks since.
std::string AuthorRouteScript(const Game& game, const ComfortState& c);
void DrawAuthorOverlay(Game& game, const ComfortState& c, std::span<Colour> pixels);

}  // namespace pelmot
