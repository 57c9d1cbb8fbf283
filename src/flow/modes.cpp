#include "game/modes.h"

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
ModeTable StandardModes() {
  static const Mode* const modes[] = {&TitleModeUnit(), &SceneModeUnit(),     &SystemMenuModeUnit(),
                                      &AlbumModeUnit(), &SlideShowModeUnit(), &ChoiceModeUnit()};
  return ModeTable(modes);
}

const Mode& CurrentMode(const Game& game) {
  static const UnknownMode unknown;
  const Mode* mode = game.modes.For(game.state.FlowMode);
  return mode ? *mode : unknown;
}

}  // namespace pelmot
