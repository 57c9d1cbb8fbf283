// The title (kModeTitle): greeting, title picture and title menu, picked as
// a centred menu.
#include "flow/mode_units.h"
#include "flow/title.h"
#include "game/flow_steps.h"
#include "game/game.h"
#include "game/run_flow.h"

namespace pelmot {
namespace {

class TitleMode : public MenuMode {
 public:
  void Step(Game& game) const override { RunTitleStep(game); }

 protected:
  // The load list (title_load) refuses never-saved slots.
  bool RefusesRow(const GameState& s, int row) const override {
    return s.StepNo[kModeTitle] == kTitleItemFirst && s.TitleChoice == kTitleLoad && NeverSavedSlot(s, row);
  }
};

}  // namespace

const Mode& TitleModeUnit() {
  static const TitleMode mode;
  return mode;
}

}  // namespace pelmot
