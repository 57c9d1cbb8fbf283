#include "game/modes.h"

#include <iterator>

#include "flow/mode_units.h"
#include "game/game.h"

namespace pelmot {
namespace {

// A FlowMode no unit has: no step runs.
class UnknownMode : public MenuMode {
 public:
  void Step(Game& /*game*/) const override {}
};

}  // namespace

// Indexed by FlowMode: kModeTitle ... kModeChoice.
const Mode* ModeFor(int flowMode) {
  static const Mode* const modes[] = {&TitleModeUnit(),     &SceneModeUnit(),     &SystemMenuModeUnit(),
                                      &AlbumModeUnit(),     &SlideShowModeUnit(), &ChoiceModeUnit()};
  if (flowMode < 0 || flowMode >= static_cast<int>(std::size(modes))) return nullptr;
  return modes[flowMode];
}

const Mode& CurrentMode(const Game& game) {
  static const UnknownMode unknown;
  const Mode* mode = ModeFor(game.state.FlowMode);
  return mode ? *mode : unknown;
}

}  // namespace pelmot
