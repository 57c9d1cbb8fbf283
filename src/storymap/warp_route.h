// Where an author's warp goes, and the fewest picks from a new game that
// lead there, found on the story map's model of every route.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "storymap/story_walk.h"

namespace pelmot::storymap {

// A line or a choice of the story, or a whole scene (lane and step -1: the
// first place it waits at).
struct WarpPlace {
  int scene = 0;
  int lane = -1;  // the lane's index in its scene
  int step = -1;
  // As the scenario's headers write it ("12 p0 s33"), or the scene alone.
  std::string Header(const Story& story) const;
  // As --warp and the script's `warp` take it ("12:p0:s33", "12").
  std::string Argument(const Story& story) const;
};

// Reads SCENE, SCENE:sSTEP or SCENE:LANE:sSTEP, the lane written as the
// scenario's headers write it (p0, p1, C6, C0,3); spaces may stand for the
// colons. Nothing, with the reason in `problem`, for a place the story does
// not have or one that shows nothing (a picture step, say).
std::optional<WarpPlace> ParseWarpPlace(const Story& story, const std::string& text, std::string& problem);

struct WarpRoute {
  std::vector<int> picks;       // from a new game; the place follows the last without another pick
  WalkState atLastChoice;       // the story waiting at the last pick's choice; a new game without picks
  std::vector<int> firstRun{};  // for a play after an ending: the quickest ending, played first
  int firstRunEnding = 0;       // its EndingNo
};

// The route with the fewest picks from a new game (of a first play while
// `endingNo` is 0, of a later one otherwise) to `place`, ties broken as the
// story map breaks them. Nothing, with the reason in `problem`, when no
// route gets there.
std::optional<WarpRoute> FindWarpRoute(const Story& story, const WarpPlace& place, std::uint8_t endingNo,
                                       std::string& problem);

}  // namespace pelmot::storymap
