#include "storymap/route_script.h"

namespace pelmot::storymap {
namespace {

// Skips to each choice with Shift held and picks; a last skip runs on
// through the ending (or the game over) to the title menu.
void PlayPicks(std::string& out, const std::vector<int>& picks) {
  for (int pick : picks) out += "tick 100000\npick " + std::to_string(pick) + "\n";
  out += "tick 100000\n";
}

void StartNewGame(std::string& out, const std::vector<int>& firstRun, int firstRunEnding) {
  out += "click 400 300\nclick 400 300\npick 0\nshift down\n";
  if (firstRun.empty()) return;
  out += "# First an ending, so that EndingNo is no longer 0.\n";
  PlayPicks(out, firstRun);
  out += "expect EndingNo " + std::to_string(firstRunEnding) + "\n";
  out += "pick 0\n";
}

// The comment on what the script plays and how, the new game (after an
// ending first, for a later play) and the count of picks to come.
std::string Opening(const std::string& title, const std::vector<int>& firstRun, int firstRunEnding, std::size_t picks) {
  std::string out = "# " + title + "\n";
  out += "# Play it on a fresh data folder:\n";
  out += "#   pelmot --headless --script THIS_FILE --data-dir NEW_FOLDER\n";
  StartNewGame(out, firstRun, firstRunEnding);
  return out + "# " + std::to_string(picks) + " picks.\n";
}

}  // namespace

std::string WarpScriptText(const WarpScript& route) {
  std::string out = Opening("The fewest picks from a new game to " + route.place + ".", route.firstRun,
                            route.firstRunEnding, route.picks.size());
  for (std::size_t i = 0; i < route.picks.size(); ++i) {
    out += "tick 100000\n";
    if (i + 1 == route.picks.size()) out += "shift up\n";
    out += "pick " + std::to_string(route.picks[i]) + "\n";
  }
  if (route.picks.empty()) out += "shift up\n";
  for (int i = 0; i < route.clicks; ++i) out += "click 400 300\n";
  for (const std::string& expect : route.expects) out += "expect " + expect + "\n";
  return out;
}

std::string ScriptText(const RouteScript& route) {
  std::string out = Opening(route.title, route.firstRun, route.firstRunEnding, route.picks.size());
  PlayPicks(out, route.picks);
  out += "shift up\n";
  out += "expect FlowMode 0\n";
  if (route.proofPicture) out += "expect CgSeen[" + std::to_string(route.proofPicture) + "] 1\n";
  out += "expect EndingNo " + std::to_string(route.expectEnding) + "\n";
  out += "state\n";
  return out;
}

}  // namespace pelmot::storymap
