// An author's warp: the story starts at a place with the values the route
// with the fewest picks from a new game has there.
#pragma once

#include <iosfwd>
#include <string>

namespace pelmot {

class GameHost;

// Finds the route on the story map's model, resumes the story at the route's
// last choice with the values the model gives it there, takes the pick and
// clicks on to `place` (SCENE, SCENE:sSTEP or SCENE:LANE:sSTEP), as the
// route played from a new game would. From then on the run writes none of
// the game's data files, the comforts' records included. The route goes to
// `route` as a headless script. False, with the reason in `problem`, when
// the place is not in the story or no route from a new game gets there.
bool Warp(GameHost& host, const std::string& place, std::ostream& route, std::string& problem);

}  // namespace pelmot
