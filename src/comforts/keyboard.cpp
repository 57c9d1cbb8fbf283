#include "comforts/keyboard.h"

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <vector>

#include "comforts/keyboard_album.h"
#include "flow/input.h"
#include "flow/mode_units.h"
#include "flow/pick.h"
#include "game/game.h"
#include "game/run_flow.h"

namespace pelmot {

namespace {

constexpr int kNoRow = -1;

bool PickWaits(const Game& game) { return !game.state.ClickAdvances && game.form.MainPic.enabled; }

// Where the list on screen was drawn: the pick handlers repaint MainPic
// from it, and it changes only when another list is drawn.
const Surface& ListSurface(const Game& game) {
  switch (game.state.FlowMode) {
    case kModeAlbum: return game.form.MainWork;
    case kModeScene:
    case kModeChoice: return game.form.Msg;
    default: return game.form.CMenu;
  }
}

// The focus as it stands for the list on screen now.
KeyboardFocus& Refreshed(const Game& game, KeyboardFocus& f) {
  const GameState& s = game.state;
  const std::uint64_t list = ListSurface(game).Revision();
  const bool samePage = s.FlowMode == kModeAlbum && f.flowMode == kModeAlbum && f.albumPage == s.AlbumPage;
  if (f.flowMode != s.FlowMode || (f.list != list && !samePage)) f.row = kNoRow;
  if (f.flowMode != s.FlowMode || f.list != list) f.shown = false;
  f.flowMode = s.FlowMode;
  f.list = list;
  f.albumPage = s.AlbumPage;
  return f;
}

// The rows of the list on screen a press would pick.
std::vector<int> PickableRows(const Game& game) {
  std::vector<int> rows;
  const Mode& mode = CurrentMode(game);
  for (int row = 0; row <= game.state.OptionCount; ++row)
    if (PickPoint(game, row) && !mode.RowRefused(game, row)) rows.push_back(row);
  return rows;
}

// The row `by` rows on from `row` (wrapping round); from no row, the first
// going down and the last going up.
int RowAfter(const std::vector<int>& rows, int row, int by) {
  const auto at = std::find(rows.begin(), rows.end(), row);
  if (at == rows.end()) return by > 0 ? rows.front() : rows.back();
  const int count = static_cast<int>(rows.size());
  const int index = static_cast<int>(at - rows.begin());
  return rows[((index + by) % count + count) % count];
}

// The frame as the pointer over the row's middle draws it.
void FrameRow(Game& game, KeyboardFocus& focus, int row) {
  focus.row = row;
  focus.shown = true;
  if (auto p = PickPoint(game, row)) CurrentMode(game).Hover(game, p->x, p->y);
}

void FramePlace(Game& game, KeyboardFocus& focus, int place) {
  focus.row = place;
  focus.shown = true;
  FrameAlbumPlace(game, place);
}

bool MoveInList(Game& game, KeyboardFocus& f, int key) {
  const int by = key == kVkUp ? -1 : key == kVkDown || key == kVkTab ? 1 : 0;
  if (by == 0) return false;
  const std::vector<int> rows = PickableRows(game);
  if (rows.empty()) return true;
  KeyboardFocus& focus = Refreshed(game, f);
  FrameRow(game, focus, RowAfter(rows, focus.row, by));
  return true;
}

// Enter on a list picks the framed row; where no frame of the keys is on
// screen, it frames one first (the first row on a fresh list).
void PickInList(Game& game, KeyboardFocus& f) {
  KeyboardFocus& focus = Refreshed(game, f);
  const std::vector<int> rows = PickableRows(game);
  if (rows.empty()) return;
  const bool known = std::find(rows.begin(), rows.end(), focus.row) != rows.end();
  if (!known || !focus.shown) {
    FrameRow(game, focus, known ? focus.row : rows.front());
    return;
  }
  if (auto p = PickPoint(game, focus.row)) PickAt(game, p->x, p->y);
}

bool MoveOnAlbum(Game& game, KeyboardFocus& f, int key) {
  if (key != kVkUp && key != kVkDown && key != kVkLeft && key != kVkRight && key != kVkTab) return false;
  KeyboardFocus& focus = Refreshed(game, f);
  FramePlace(game, focus, AlbumPlaceAfterKey(game.state.AlbumPage, focus.row, key));
  return true;
}

void PickOnAlbum(Game& game, KeyboardFocus& f) {
  KeyboardFocus& focus = Refreshed(game, f);
  if (focus.row == kNoAlbumPlace || !focus.shown) {
    FramePlace(game, focus, focus.row == kNoAlbumPlace ? 0 : focus.row);
    return;
  }
  const Point p = AlbumPlaceMiddle(focus.row);
  PickAt(game, p.x, p.y);
}

// A key while a menu, choice or album page waits for a pick.
bool OnList(Game& game, KeyboardFocus& f, int key) {
  if (key == kVkEnter || key == kVkSpace) {
    if (game.state.FlowMode == kModeAlbum)
      PickOnAlbum(game, f);
    else
      PickInList(game, f);
    return true;
  }
  return game.state.FlowMode == kModeAlbum ? MoveOnAlbum(game, f, key) : MoveInList(game, f, key);
}

// Escape is a right press where no row or button is: the middle of the
// screen, clear of the skip strip.
void RightPress(Game& game, int shift) {
  RouteMouseDown(game, kRightButton, shift, kScreenWidth / 2, kScreenHeight / 2);
}

void Trace(Game& game, int key) {
  if (game.trace) *game.trace << "Keyboard " << key << std::endl;
}

bool TakeKeyDown(Game& game, KeyboardFocus& f, const InputEvent& e) {
  if (e.key == kVkEscape) {
    RightPress(game, e.shift);
    return true;
  }
  if (PickWaits(game)) return OnList(game, f, e.key);
  if (e.key == kVkSpace) {
    Form_KeyDown(game, kKeyEnter, e.shift);
    return true;
  }
  return false;
}

}  // namespace

bool KeyboardTakesEvent(Game& game, KeyboardFocus& focus, const InputEvent& event) {
  using Kind = InputEvent::Kind;
  // The pointer repaints the list, and the keys' frame with it.
  if (event.kind == Kind::kMouseMove || event.kind == Kind::kMouseDown) focus.shown = false;
  if (event.kind != Kind::kKeyDown) return false;
  if (!TakeKeyDown(game, focus, event)) return false;
  Trace(game, event.key);
  return true;
}

}  // namespace pelmot
