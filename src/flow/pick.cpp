#include "flow/pick.h"


#include <string>

#include "game/game.h"
#include "game/screen_geometry.h"
#include "game/run_flow.h"
#include "gallery/gallery.h"
#include "present/menu_page.h"

namespace pelmot {
namespace {

constexpr int kRow = 32;

int TextWidth(const Game& game, const std::string& text) { return RowTextWidth(game, text); }
const std::string& Item(const Game& game, int index) { return MenuItem(game, index); }

// Row of the first item: m = LineNo - 1 - OptionCount.
int FirstRow(const GameState& s) { return s.LineNo - 1 - s.OptionCount; }

// Left-aligned options (both scene choices) accept 16 < x < width + 24.
bool OverLeftAlignedText(const Game& game, int index, int x) {
  const std::string& text = Item(game, index);
  return !text.empty() && x > 16 && x < TextWidth(game, text) + 24;
}

int CentredLeft(int width) { return FloorDiv(800 - width, 2); }

bool OverCentredText(const Game& game, int index, int x) {
  const std::string& text = Item(game, index);
  if (text.empty()) return false;
  int left = CentredLeft(TextWidth(game, text));
  return x > left && x < 800 - left;
}

void Accept(Game& game) {
  game.form.MainPic.enabled = false;
  game.state.StepNo[game.state.FlowMode] = Add16(game.state.StepNo[game.state.FlowMode], 1);
  RunFlow(game);
}

void PaintClean(Game& game, const Surface& source) {
  game.form.MainPic.BitBlt(0, 0, 800, 600, source, 0, 0, Rop::SrcCopy);
}

// A scene choice drawn in the message window (FlowMode 5).
void PickWindowChoice(Game& game, int x, int y) {
  GameState& s = game.state;
  const int top = 416 + kRow * FirstRow(s);
  if (!(top < y && y < 590)) return;
  s.ChoiceNo = static_cast<std::int16_t>(FloorDiv(y - top, kRow));
  // The press decides by its own row, not by whatever row a pointer move
  // last framed, so a press with no move before it picks what is under it.
  s.HoverNo = s.ChoiceNo;
  if (!OverLeftAlignedText(game, s.HoverNo, x)) return;
  game.form.MainPic.enabled = false;
  ResetStep(game);
  s.SaveRecord.LastChoice = s.ChoiceNo;
  s.FlowMode = kModeScene;
  s.StepNo[kModeScene] = Add16(s.StepNo[kModeScene], 1);
  game.pickJustMade = true;
  RunFlow(game);
}

// A choice drawn on the full-screen page, scene play goes on (FlowMode 1).
void PickPageChoice(Game& game, int x, int y) {
  GameState& s = game.state;
  const int top = kRow * FirstRow(s);
  s.ChoiceNo = static_cast<std::int16_t>(FloorDiv(y - top, kRow));
  PaintClean(game, game.form.Msg);
  if (y > kRow * s.LineNo || s.ChoiceNo < 0) return;
  if (!OverLeftAlignedText(game, s.ChoiceNo, x)) return;
  game.form.MainPic.enabled = false;
  s.StepNo[kModeScene] = Add16(s.StepNo[kModeScene], 1);
  game.pickJustMade = true;
  RunFlow(game);
}

bool LoadListIsUp(const GameState& s) {
  return (s.FlowMode == kModeTitle && s.StepNo[0] == 4 && s.TitleChoice == 1) ||
         (s.FlowMode == kModeSystemMenu && s.StepNo[2] == 1 && s.MenuKind == 1);
}

// The centred menus of the title and the system menu.
void PickMenuRow(Game& game, int x, int y) {
  GameState& s = game.state;
  const int top = 12 + kRow * FirstRow(s);
  s.ChoiceNo = static_cast<std::int16_t>(FloorDiv(y - top, kRow));
  if (s.ChoiceNo < 0 || y > kRow * s.LineNo + 12) return;
  PaintClean(game, game.form.CMenu);
  if (LoadListIsUp(s) && s.ChoiceNo != 10 &&
      (s.ChoiceNo > 9 || s.SaveDate[s.ChoiceNo].empty()))
    return;  // a never-saved slot cannot be loaded
  if (!OverCentredText(game, s.ChoiceNo, x)) return;
  Accept(game);
}

void PickAlbum(Game& game, int x, int y) {
  GameState& s = game.state;
  AlbumHit hit = HitTestAlbum(x, y);
  switch (hit.region) {
    case AlbumRegion::Previous:
      if (s.AlbumPage != 0) {
        s.AlbumPage = Add16(s.AlbumPage, -1);
        ShowAlbum(game);
      }
      break;
    case AlbumRegion::Leave:
      game.form.MainPic.enabled = false;
      ReturnToTitle(game);
      RunFlow(game);
      break;
    case AlbumRegion::Next:
      if (s.AlbumPage != 4) {
        s.AlbumPage = Add16(s.AlbumPage, 1);
        ShowAlbum(game);
      }
      break;
    case AlbumRegion::Cell: {
      if (s.AlbumPage == 4 && hit.cell == 8) break;  // page 4 has eight entries
      s.SceneNo = static_cast<std::int16_t>(9 * s.AlbumPage + hit.cell);
      game.form.MainPic.enabled = false;
      ResetStep(game);
      s.FlowMode = kModeAlbum;
      s.StepNo[kModeAlbum] = 0;
      RunFlow(game);
      break;
    }
    case AlbumRegion::None:
      break;
  }
}

bool Between(int v, int lo, int hi) { return v > lo && v < hi; }

}  // namespace

AlbumHit HitTestAlbum(int x, int y) {
  if (Between(y, 7, 46)) {
    if (Between(x, 314, 353)) return {AlbumRegion::Previous, 0};
    if (Between(x, 381, 420)) return {AlbumRegion::Leave, 0};
    if (Between(x, 448, 487)) return {AlbumRegion::Next, 0};
  }
  static constexpr int kColumns[3][2] = {{40, 241}, {298, 499}, {556, 757}};
  static constexpr int kRows[3][2] = {{59, 210}, {238, 389}, {417, 568}};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c)
      if (Between(x, kColumns[c][0], kColumns[c][1]) && Between(y, kRows[r][0], kRows[r][1]))
        return {AlbumRegion::Cell, 3 * r + c};
  return {};
}

void PickAt(Game& game, int x, int y) {
  switch (game.state.FlowMode) {
    case kModeChoice:
      PickWindowChoice(game, x, y);
      break;
    case kModeAlbum:
      PickAlbum(game, x, y);
      break;
    case kModeScene:
      PickPageChoice(game, x, y);
      break;
    default:
      PickMenuRow(game, x, y);
      break;
  }
}

std::optional<Point> PickPoint(const Game& game, int row) {
  const GameState& s = game.state;
  if (s.FlowMode == kModeAlbum) {
    if (row < 0 || row > 8) return std::nullopt;
    return Point{140 + 258 * (row % 3), 134 + 179 * (row / 3)};
  }
  const std::string& text = Item(game, row);
  if (text.empty()) return std::nullopt;
  const int width = TextWidth(game, text);
  const int middle = kRow * (FirstRow(s) + row) + kRow / 2;
  switch (s.FlowMode) {
    case kModeChoice:
      return Point{20 + width / 2, 416 + middle};
    case kModeScene:
      return Point{20 + width / 2, middle};
    default:
      return Point{400, 12 + middle};
  }
}

}  // namespace pelmot
