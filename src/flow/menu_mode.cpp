#include "flow/mode_units.h"

#include "game/flow_steps.h"
#include "game/game.h"
#include "game/run_flow.h"
#include "menus/pointer_frame.h"
#include "present/menu_page.h"

namespace pelmot {

void MenuMode::Pick(Game& game, int x, int y) const {
  GameState& s = game.state;
  const int top = kMenuRowsTop + kRowPitch * FirstItemRow(s);
  s.ChoiceNo = static_cast<std::int16_t>(FloorDiv(y - top, kRowPitch));
  if (s.ChoiceNo < 0 || y > kRowPitch * s.LineNo + kMenuRowsTop) return;
  game.form.MainPic.BitBlt(0, 0, kScreenWidth, kScreenHeight, game.form.CMenu, 0, 0, Rop::SrcCopy);
  if (RefusesRow(s, s.ChoiceNo)) return;
  if (!OverCentredItem(game, s.ChoiceNo, x)) return;
  game.form.MainPic.enabled = false;
  s.StepNo[s.FlowMode] = Add16(s.StepNo[s.FlowMode], 1);
  RunFlow(game);
}

std::optional<Point> MenuMode::PickPoint(const Game& game, int row) const {
  if (MenuItem(game, row).empty()) return std::nullopt;
  const int middle = kRowPitch * (FirstItemRow(game.state) + row) + kRowPitch / 2;
  return Point{kScreenWidth / 2, kMenuRowsTop + middle};
}

bool MenuMode::RowRefused(const Game& game, int row) const { return RefusesRow(game.state, row); }

void MenuMode::Hover(Game& game, int x, int y) const {
  if (!game.state.ClickAdvances) FrameMenuRow(game, x, y);
}

void MenuMode::WindowPress(Game& game, PointerButton button) const {
  if (button == PointerButton::Left) Advance(game);
}

void MenuMode::PictureRightPress(Game& /*game*/) const {}

std::optional<Point> OptionPickPoint(const Game& game, int row, int rowsTop) {
  const std::string& text = MenuItem(game, row);
  if (text.empty()) return std::nullopt;
  const int middle = kRowPitch * (FirstItemRow(game.state) + row) + kRowPitch / 2;
  return Point{kOptionLeft + RowTextWidth(game, text) / 2, rowsTop + middle};
}

bool NeverSavedSlot(const GameState& s, int row) {
  return row != kFileListCancelRow && (row >= kSlotCount || s.SaveDate[row].empty());
}

}  // namespace pelmot
