#include "comforts/backlog.h"

#include <algorithm>
#include <optional>

#include "comforts/comfort_canvas.h"
#include "comforts/comfort_state.h"
#include "flow/input.h"
#include "game/game.h"
#include "game/run_flow.h"

namespace pelmot {
namespace {

using Kind = InputEvent::Kind;

constexpr int kRowsPerNotch = 3;
constexpr Colour kBreakLine = Rgb(128, 128, 128);
constexpr Colour kFrameColour = Rgb(240, 240, 240);

int MostScrolled(int rowCount) { return std::max(0, rowCount - kBacklogRows); }

void ScrollBy(Backlog& backlog, const History& history, int rows) {
  const int count = static_cast<int>(HistoryRows(history).size());
  backlog.scrolled = std::clamp(backlog.scrolled + rows, 0, MostScrolled(count));
}

// The screen slot (0 at the top) of row `row` of `count`, as scrolled.
int SlotOf(const Backlog& backlog, int row, int count) {
  return kBacklogRows - 1 - (count - 1 - backlog.scrolled - row);
}

// Scrolls the least that shows every row of the framed entry.
void ShowFramed(Backlog& backlog, const History& history) {
  const std::vector<HistoryRow> rows = HistoryRows(history);
  const int count = static_cast<int>(rows.size());
  int first = -1, last = -1;
  for (int i = 0; i < count; ++i) {
    if (rows[i].pageBreak || rows[i].entry != backlog.framed) continue;
    if (first < 0) first = i;
    last = i;
  }
  if (first < 0) return;
  if (SlotOf(backlog, last, count) >= kBacklogRows) backlog.scrolled = count - 1 - last;
  if (SlotOf(backlog, first, count) < 0) backlog.scrolled = count - first - kBacklogRows;
  backlog.scrolled = std::clamp(backlog.scrolled, 0, MostScrolled(count));
}

// The entry whose row is at client y, if any.
std::optional<int> EntryAt(const Backlog& backlog, const History& history, int y) {
  const std::vector<HistoryRow> rows = HistoryRows(history);
  const int count = static_cast<int>(rows.size());
  const int slot = FloorDiv(y - kBacklogTextTop + kFrameAboveText, kRowPitch);
  const int row = count - 1 - backlog.scrolled - (kBacklogRows - 1 - slot);
  if (slot < 0 || slot >= kBacklogRows || row < 0 || row >= count || rows[row].pageBreak) return std::nullopt;
  return rows[row].entry;
}

void Close(Backlog& backlog) { backlog = {}; }

void GoBack(Game& game, ComfortState& c, int entry) {
  Close(c.backlog);
  StopAutoForward(game, c);
  game.form.StopSkipping();
  c.history.GoBackTo(game, entry);
}

bool OpensIt(const InputEvent& e) {
  return (e.kind == Kind::kWheel && e.wheel > 0) || (e.kind == Kind::kKeyDown && e.key == kVkPageUp);
}

void MoveFrame(Backlog& backlog, const History& history, int by) {
  const int last = static_cast<int>(history.Entries().size()) - 1;
  backlog.framed = std::clamp(backlog.framed + by, 0, last);
  ShowFramed(backlog, history);
}

void TakeKey(Game& game, ComfortState& c, int key) {
  Backlog& backlog = c.backlog;
  switch (key) {
    case kVkUp: MoveFrame(backlog, c.history, -1); break;
    case kVkDown: MoveFrame(backlog, c.history, 1); break;
    case kVkPageUp: ScrollBy(backlog, c.history, kBacklogRows - 1); break;
    case kVkPageDown: ScrollBy(backlog, c.history, -(kBacklogRows - 1)); break;
    case kVkEnter: GoBack(game, c, backlog.framed); break;
    case kVkEscape: Close(backlog); break;
    default: break;
  }
}

void TakeWheel(Backlog& backlog, const History& history, int notches) {
  // Down past the newest line closes it.
  if (notches < 0 && backlog.scrolled == 0)
    Close(backlog);
  else
    ScrollBy(backlog, history, notches * kRowsPerNotch);
}

void TakePress(Game& game, ComfortState& c, const InputEvent& e) {
  if (e.button == kRightButton) {
    Close(c.backlog);
  } else if (const auto entry = EntryAt(c.backlog, c.history, e.y)) {
    GoBack(game, c, *entry);
  }
}

bool CanOpen(const Game& game, const History& history) { return InScenePlay(game) && !history.Entries().empty(); }

}  // namespace

std::vector<HistoryRow> HistoryRows(const History& history) {
  std::vector<HistoryRow> rows;
  const auto& entries = history.Entries();
  for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
    if (entries[i].startsPage && !rows.empty()) rows.push_back({"", true, i});
    for (const std::string& row : entries[i].rows) rows.push_back({row, false, i});
  }
  return rows;
}

bool BacklogTakeEvent(Game& game, ComfortState& c, const InputEvent& e) {
  Backlog& backlog = c.backlog;
  if (!backlog.open) {
    if (!OpensIt(e) || !CanOpen(game, c.history)) return false;
    backlog = {true, 0, c.history.Current()};
    ShowFramed(backlog, c.history);
    return true;
  }
  switch (e.kind) {
    case Kind::kKeyUp:
    case Kind::kCloseRequested:
    case Kind::kDialogAnswered: return false;
    case Kind::kWheel: TakeWheel(backlog, c.history, e.wheel); break;
    case Kind::kKeyDown: TakeKey(game, c, e.key); break;
    case Kind::kMouseDown: TakePress(game, c, e); break;
    case Kind::kMouseMove:
      if (const auto entry = EntryAt(backlog, c.history, e.y)) backlog.framed = *entry;
      break;
    case Kind::kMouseUp: break;
  }
  return true;
}

void DrawBacklog(Game& game, const Backlog& backlog, const History& history, std::span<Colour> pixels) {
  ComfortCanvas canvas(game, pixels, kWholeScreen);
  canvas.DimmedPicture();
  const std::vector<HistoryRow> rows = HistoryRows(history);
  const int count = static_cast<int>(rows.size());
  int frameTop = -1, frameBottom = -1;
  for (int row = 0; row < count; ++row) {
    const int slot = SlotOf(backlog, row, count);
    if (slot < 0 || slot >= kBacklogRows) continue;
    const int y = kBacklogTextTop + kRowPitch * slot;
    if (rows[row].pageBreak) {
      canvas.HorizontalLine(kBacklogBreakInset, kScreenWidth - kBacklogBreakInset, y + kBacklogBreakDrop, kBreakLine);
      continue;
    }
    canvas.ShadowedText(kBacklogTextLeft, y, rows[row].text);
    if (rows[row].entry != backlog.framed) continue;
    if (frameTop < 0) frameTop = y - kFrameAboveText;
    frameBottom = y + kFrameBelowText;
  }
  if (frameTop >= 0)
    canvas.Outline({kBacklogFrameLeft, frameTop, kScreenWidth - 2 * kBacklogFrameLeft, frameBottom - frameTop},
                   kFrameColour);
}

}  // namespace pelmot
