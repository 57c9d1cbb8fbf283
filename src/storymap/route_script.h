// A pick sequence as a headless script a player can replay.
#pragma once

#include <string>
#include <vector>

namespace pelmot::storymap {

struct RouteScript {
  std::string title;          // what the script plays, for its comment
  std::vector<int> firstRun;  // a play to some ending first (for a later play), else empty
  int firstRunEnding = 0;     // its EndingNo
  std::vector<int> picks;     // the route itself
  int expectEnding = 0;       // EndingNo afterwards; 0 for the game over
  bool gameOver = false;
  int proofPicture = 0;  // a picture only the ending shows: seen afterwards
};

// The script plays from the logo on a fresh data folder: it starts a new
// game from the title, holds Shift to skip to each choice, picks, and ends
// back at the title with an expect on where it got.
std::string ScriptText(const RouteScript& route);

// The route an author's warp took, as a script that plays it from the logo
// on a fresh data folder: the picks (with an ending first for a later play),
// `clicks` clicks after the last one, and an expect for each field of
// `expects` ("SceneNo 12").
struct WarpScript {
  std::string place;  // "12 p0 s33"
  std::vector<int> firstRun;
  int firstRunEnding = 0;
  std::vector<int> picks;
  int clicks = 0;
  std::vector<std::string> expects;
};
std::string WarpScriptText(const WarpScript& route);

}  // namespace pelmot::storymap
