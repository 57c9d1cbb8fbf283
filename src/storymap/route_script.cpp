#include "storymap/route_script.h"

namespace pelmot::storymap {
namespace {

// Skips to each choice with Shift held and picks; a last skip runs on
// through the ending (or the game over) to the title menu.
void PlayPicks(std::string& out, const std::vector<int>& picks) {
  for (int pick : picks) out += "tick 100000\npick " + std::to_string(pick) + "\n";
  out += "tick 100000\n";
}

}  // namespace

std::string ScriptText(const RouteScript& route) {
  std::string out = "# " + route.title + "\n";
  out += "# Play it on a fresh data folder:\n";
  out += "#   pelmot --headless --script THIS_FILE --data-dir NEW_FOLDER\n";
  out += "click 400 300\nclick 400 300\npick 0\nshift down\n";
  if (!route.firstRun.empty()) {
    out += "# First an ending, so that EndingNo is no longer 0.\n";
    PlayPicks(out, route.firstRun);
    out += "expect EndingNo " + std::to_string(route.firstRunEnding) + "\n";
    out += "pick 0\n";
  }
  out += "# " + std::to_string(route.picks.size()) + " picks.\n";
  PlayPicks(out, route.picks);
  out += "shift up\n";
  out += "expect FlowMode 0\n";
  if (route.proofPicture) out += "expect CgSeen[" + std::to_string(route.proofPicture) + "] 1\n";
  out += "expect EndingNo " + std::to_string(route.expectEnding) + "\n";
  out += "state\n";
  return out;
}

}  // namespace pelmot::storymap
