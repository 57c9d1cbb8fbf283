#include "menus/pointer_frame.h"

#include <cmath>

#include "game/game.h"
#include "game/screen_geometry.h"
#include "game/run_flow.h"
#include "present/menu_page.h"

namespace pelmot {
namespace {

constexpr int kRow = 32;

// Coordinates of the centred frame may end in one half; the drawing rounds.
int Round(double v) { return static_cast<int>(std::floor(v + 0.5)); }

void Rectangle(Surface& pic, int left, int top, int right, int bottom) {
  pic.Line(left, top - 1, left, bottom, kBlack);
  pic.Line(left, top, right, top, kBlack);
  pic.Line(left, bottom, right, bottom, kBlack);
  pic.Line(right, bottom, right, top, kBlack);
}

// Frames A and B: left-aligned options, text top at `textTop`.
void FrameLeftAligned(Surface& pic, int width, int textTop) {
  Rectangle(pic, 14, textTop - 4, width + 24, textTop + 28);
}

// Frame C: a centred menu row k.
void FrameCentred(Surface& pic, int width, int k) {
  const int top = kRow * k + 16, bottom = kRow * k + 48;
  const int half = FloorDiv(800 - width, 2);
  const int left = Round((798.0 - width) / 2.0);
  pic.Line(left, top - 1, left, bottom, kBlack);
  pic.Line(Round((798.0 - width) / 2.0 - 1), top, 800 - half + 2, top, kBlack);
  pic.Line(left, bottom, 800 - half, bottom, kBlack);
  pic.Line(802 - half, bottom, 802 - half, top, kBlack);
}

bool OverLeftText(const Game& game, int x) {
  const std::string& text = MenuItem(game, game.state.HoverNo);
  return !text.empty() && x > 16 && x < RowTextWidth(game, text) + 24;
}

void RepaintFrom(Surface& pic, const Surface& clean) {
  pic.BitBlt(0, 0, 800, 600, clean, 0, 0, Rop::SrcCopy);
}

// Row of the first item of the list on screen.
int FirstItemRow(const GameState& s) { return s.LineNo - 1 - s.OptionCount; }

// Frames the left-aligned option under the pointer; `firstTextTop` is the
// text top of the list's first option.
void FrameHoveredOption(Game& game, int firstTextTop) {
  const int width = RowTextWidth(game, MenuItem(game, game.state.HoverNo));
  FrameLeftAligned(game.form.MainPic, width, firstTextTop + kRow * game.state.HoverNo);
}

void HoverWindowChoice(Game& game, int x, int y) {
  GameState& s = game.state;
  const int top = kRow * FirstItemRow(s) + 416;
  RepaintFrom(game.form.MainPic, game.form.Msg);
  if (!(top < y && y < 590)) return;
  s.HoverNo = static_cast<std::int16_t>(FloorDiv(y - top, kRow));
  if (OverLeftText(game, x)) FrameHoveredOption(game, top + 8);
}

void HoverPageChoice(Game& game, int x, int y) {
  GameState& s = game.state;
  const int top = kRow * FirstItemRow(s);
  s.HoverNo = static_cast<std::int16_t>(FloorDiv(y - top, kRow));
  RepaintFrom(game.form.MainPic, game.form.Msg);
  if (y <= kRow * s.LineNo && s.HoverNo >= 0 && OverLeftText(game, x)) FrameHoveredOption(game, top + 4);
}

void HoverMenu(Game& game, int x, int y) {
  GameState& s = game.state;
  Surface& pic = game.form.MainPic;
  const int m = FirstItemRow(s);
  s.HoverNo = static_cast<std::int16_t>(FloorDiv(y - (kRow * m + 12), kRow));
  RepaintFrom(pic, game.form.CMenu);
  if (y > kRow * s.LineNo + 12 || s.HoverNo < 0) return;
  const std::string& text = MenuItem(game, s.HoverNo);
  if (text.empty()) return;
  const int width = RowTextWidth(game, text);
  const int half = FloorDiv(800 - width, 2);
  if (!(half < x && x < 800 - half)) return;
  FrameCentred(pic, width, m + s.HoverNo);
}

}  // namespace

void FrameRowUnderPointer(Game& game, int x, int y) {
  GameState& s = game.state;
  Surface& pic = game.form.MainPic;
  if (s.FlowMode == kModeAlbum) return;
  if (s.FlowMode != kModeChoice && s.ClickAdvances) return;
  pic.SetPersistent(true);
  if (s.FlowMode == kModeChoice) HoverWindowChoice(game, x, y);
  else if (s.FlowMode == kModeScene) HoverPageChoice(game, x, y);
  else HoverMenu(game, x, y);
  pic.SetPersistent(false);
}

}  // namespace pelmot
