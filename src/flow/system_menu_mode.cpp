// The system menu (kModeSystemMenu) and, before it is drawn, the
// picture-only view a right press in scene play opens. While the view shows
// (a click advances), a left press on the window goes back to the scene and
// a right press draws the menu; once it is drawn, it is picked as a centred
// menu.
#include "flow/mode_units.h"
#include "flow/picture_only_view.h"
#include "game/flow_steps.h"
#include "game/game.h"
#include "game/run_flow.h"
#include "menus/system_menu.h"

namespace pelmot {
namespace {

class SystemMenuMode : public MenuMode {
 public:
  void Step(Game& game) const override { SystemMenu(game); }

  void WindowPress(Game& game, PointerButton button) const override {
    if (button == PointerButton::Left)
      LeavePictureOnlyView(game);
    else
      RunFlow(game);
  }

  void PictureRightPress(Game& game) const override { RunFlow(game); }

 protected:
  // The load list (menu_load) refuses never-saved slots.
  bool RefusesRow(const GameState& s, int row) const override {
    return s.StepNo[kModeSystemMenu] == kSystemMenuPicked && s.MenuKind == kMenuLoad && NeverSavedSlot(s, row);
  }
};

}  // namespace

const Mode& SystemMenuModeUnit() {
  static const SystemMenuMode mode;
  return mode;
}

}  // namespace pelmot
