// A scene choice in the message window (kModeChoice): the pick itself moves
// the scene on.
#include "flow/mode_units.h"
#include "game/game.h"
#include "game/run_flow.h"
#include "menus/pointer_frame.h"
#include "present/menu_page.h"

namespace pelmot {
namespace {

class ChoiceMode : public Mode {
 public:
  void Step(Game& game) const override { game.state.SaveRecord.ResumeMode = kModeChoice; }

  void Pick(Game& game, int x, int y) const override {
    GameState& s = game.state;
    const int top = kWindowRowsTop + kRowPitch * FirstItemRow(s);
    if (!(top < y && y < kMessageWindow.Bottom())) return;
    s.ChoiceNo = static_cast<std::int16_t>(FloorDiv(y - top, kRowPitch));
    // The press decides by its own row, not by whatever row a pointer move
    // last framed, so a press with no move before it picks what is under it.
    s.HoverNo = s.ChoiceNo;
    if (!OverLeftAlignedItem(game, s.HoverNo, x)) return;
    game.form.MainPic.enabled = false;
    ResetStep(game);
    s.SaveRecord.LastChoice = s.ChoiceNo;
    s.FlowMode = kModeScene;
    s.StepNo[kModeScene] = Add16(s.StepNo[kModeScene], 1);
    game.pickJustMade = true;
    RunFlow(game);
  }

  std::optional<Point> PickPoint(const Game& game, int row) const override {
    return OptionPickPoint(game, row, kWindowRowsTop);
  }

  // The frame follows the pointer whether or not a click advances.
  void Hover(Game& game, int x, int y) const override { FrameWindowChoiceRow(game, x, y); }

  void WindowPress(Game& game, PointerButton button) const override {
    if (button == PointerButton::Left) Advance(game);
  }

  void PictureRightPress(Game& /*game*/) const override {}
  bool OffersSkipButton() const override { return false; }
};

}  // namespace

const Mode& ChoiceModeUnit() {
  static const ChoiceMode mode;
  return mode;
}

}  // namespace pelmot
