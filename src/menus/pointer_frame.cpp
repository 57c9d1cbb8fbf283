#include "menus/pointer_frame.h"

#include <cmath>

#include "game/game.h"
#include "game/screen_geometry.h"
#include "present/menu_page.h"

namespace pelmot {
namespace {

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
  Rectangle(pic, kOptionFrameLeft, textTop - kFrameAboveText, kOptionLeft + width + kOptionFrameRightMargin,
            textTop + kFrameBelowText);
}

// Frame C: a centred menu row, text top at `textTop`.
void FrameCentred(Surface& pic, int width, int textTop) {
  const int top = textTop - kFrameAboveText, bottom = textTop + kFrameBelowText;
  const int half = CentredLeft(width);
  const double frameLeft = (kScreenWidth - kCentredFrameLeftInset - width) / 2.0;
  const int left = Round(frameLeft);
  const int right = kScreenWidth - half + kCentredFrameRightMargin;
  pic.Line(left, top - 1, left, bottom, kBlack);
  pic.Line(Round(frameLeft - 1), top, right, top, kBlack);
  pic.Line(left, bottom, kScreenWidth - half, bottom, kBlack);
  pic.Line(right, bottom, right, top, kBlack);
}

void RepaintFrom(Surface& pic, const Surface& clean) {
  pic.BitBlt(0, 0, kScreenWidth, kScreenHeight, clean, 0, 0, Rop::SrcCopy);
}

// Frames the left-aligned option under the pointer; `firstTextTop` is the
// text top of the list's first option.
void FrameHoveredOption(Game& game, int firstTextTop) {
  const int width = RowTextWidth(game, MenuItem(game, game.state.HoverNo));
  FrameLeftAligned(game.form.MainPic, width, firstTextTop + kRowPitch * game.state.HoverNo);
}

void HoverWindowChoice(Game& game, int x, int y) {
  GameState& s = game.state;
  const int top = kRowPitch * FirstItemRow(s) + kWindowRowsTop;
  RepaintFrom(game.form.MainPic, game.form.Msg);
  if (!(top < y && y < kMessageWindow.Bottom())) return;
  s.HoverNo = static_cast<std::int16_t>(FloorDiv(y - top, kRowPitch));
  if (OverLeftAlignedItem(game, s.HoverNo, x)) FrameHoveredOption(game, top + kWindowTextInset);
}

void HoverPageChoice(Game& game, int x, int y) {
  GameState& s = game.state;
  const int top = kPageRowsTop + kRowPitch * FirstItemRow(s);
  s.HoverNo = static_cast<std::int16_t>(FloorDiv(y - top, kRowPitch));
  RepaintFrom(game.form.MainPic, game.form.Msg);
  if (y <= kRowPitch * s.LineNo && s.HoverNo >= 0 && OverLeftAlignedItem(game, s.HoverNo, x))
    FrameHoveredOption(game, top + kPageTextInset);
}

int MenuRowUnder(const GameState& s, int y) {
  return FloorDiv(y - (kRowPitch * FirstItemRow(s) + kMenuRowsTop), kRowPitch);
}

void HoverMenu(Game& game, int x, int y) {
  GameState& s = game.state;
  s.HoverNo = static_cast<std::int16_t>(MenuRowUnder(s, y));
  RepaintFrom(game.form.MainPic, game.form.CMenu);
  if (MenuRowFramedAt(game, x, y)) FrameMenuRowOn(game, game.form.MainPic, s.HoverNo);
}

// The frame is drawn on MainPic's kept image.
template <typename Hover>
void Persistently(Game& game, Hover hover) {
  game.form.MainPic.SetPersistent(true);
  hover();
  game.form.MainPic.SetPersistent(false);
}

}  // namespace

std::optional<int> MenuRowFramedAt(const Game& game, int x, int y) {
  const GameState& s = game.state;
  const int row = MenuRowUnder(s, y);
  if (y > kRowPitch * s.LineNo + kMenuRowsTop || row < 0 || !OverCentredItem(game, row, x)) return std::nullopt;
  return row;
}

void FrameMenuRowOn(const Game& game, Surface& pic, int row) {
  const int width = RowTextWidth(game, MenuItem(game, row));
  FrameCentred(pic, width, kMenuTextTop + kRowPitch * (FirstItemRow(game.state) + row));
}

void FrameWindowChoiceRow(Game& game, int x, int y) {
  Persistently(game, [&] { HoverWindowChoice(game, x, y); });
}

void FramePageChoiceRow(Game& game, int x, int y) {
  Persistently(game, [&] { HoverPageChoice(game, x, y); });
}

void FrameMenuRow(Game& game, int x, int y) {
  Persistently(game, [&] { HoverMenu(game, x, y); });
}

}  // namespace pelmot
