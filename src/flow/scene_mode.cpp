// Scene play (kModeScene): a click advances the scene; a choice on the
// full-screen page is picked here; a right press opens the picture-only
// view; the pointer at the right edge offers the skip button.
#include "flow/mode_units.h"
#include "flow/picture_only_view.h"
#include "game/game.h"
#include "game/run_flow.h"
#include "menus/pointer_frame.h"
#include "present/menu_page.h"
#include "scenes/scene_table.h"

namespace pelmot {
namespace {

class SceneMode : public Mode {
 public:
  void Step(Game& game) const override {
    game.state.SaveRecord.ResumeMode = kModeScene;
    RunScene(game, game.state.SceneNo);
  }

  // A choice on the full-screen page: the scene goes on with the pick.
  void Pick(Game& game, int x, int y) const override {
    GameState& s = game.state;
    const int top = kPageRowsTop + kRowPitch * FirstItemRow(s);
    s.ChoiceNo = static_cast<std::int16_t>(FloorDiv(y - top, kRowPitch));
    game.form.MainPic.BitBlt(0, 0, kScreenWidth, kScreenHeight, game.form.Msg, 0, 0, Rop::SrcCopy);
    if (y > kRowPitch * s.LineNo || s.ChoiceNo < 0) return;
    if (!OverLeftAlignedItem(game, s.ChoiceNo, x)) return;
    game.form.MainPic.enabled = false;
    s.StepNo[kModeScene] = Add16(s.StepNo[kModeScene], 1);
    game.pickJustMade = true;
    RunFlow(game);
  }

  std::optional<Point> PickPoint(const Game& game, int row) const override {
    return OptionPickPoint(game, row, kPageRowsTop);
  }

  void Hover(Game& game, int x, int y) const override {
    if (!game.state.ClickAdvances) FramePageChoiceRow(game, x, y);
  }

  void WindowPress(Game& game, PointerButton button) const override {
    if (button == PointerButton::Left)
      Advance(game);
    else
      OpenPictureOnlyView(game);
  }

  void PictureRightPress(Game& game) const override {
    OpenPictureOnlyView(game);
    game.form.MainPic.enabled = false;
    game.state.ClickAdvances = true;
  }

  bool OffersSkipButton() const override { return true; }
};

}  // namespace

const Mode& SceneModeUnit() {
  static const SceneMode mode;
  return mode;
}

}  // namespace pelmot
