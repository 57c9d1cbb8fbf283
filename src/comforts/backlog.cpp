#include "comforts/backlog.h"

#include <algorithm>

#include "comforts/comfort_canvas.h"
#include "flow/input.h"
#include "game/game.h"
#include "game/run_flow.h"

namespace pelmot {
namespace {

constexpr int kRowsPerNotch = 3;
constexpr Colour kBreakLine = Rgb(128, 128, 128);

bool CanOpen(const Game& game) {
  const std::int16_t mode = game.state.FlowMode;
  return mode == kModeScene || mode == kModeChoice;
}

int MostScrolled(const Backlog& backlog) { return std::max(0, static_cast<int>(backlog.Rows().size()) - kBacklogRows); }

void ScrollBy(Backlog& backlog, int rows) {
  backlog.scrolled = std::clamp(backlog.scrolled + rows, 0, MostScrolled(backlog));
}

void Close(Backlog& backlog) {
  backlog.open = false;
  backlog.scrolled = 0;
}

bool OpensIt(const InputEvent& e) {
  return (e.kind == InputEvent::Kind::kWheel && e.wheel > 0) ||
         (e.kind == InputEvent::Kind::kKeyDown && e.key == kVkPageUp);
}

void TakeKey(Backlog& backlog, int key) {
  switch (key) {
    case kVkUp: ScrollBy(backlog, 1); break;
    case kVkDown: ScrollBy(backlog, -1); break;
    case kVkPageUp: ScrollBy(backlog, kBacklogRows - 1); break;
    case kVkPageDown: ScrollBy(backlog, -(kBacklogRows - 1)); break;
    case kVkEscape: Close(backlog); break;
    default: break;
  }
}

void TakeWheel(Backlog& backlog, int notches) {
  // Down past the newest line closes it.
  if (notches < 0 && backlog.scrolled == 0)
    Close(backlog);
  else
    ScrollBy(backlog, notches * kRowsPerNotch);
}

}  // namespace

void Backlog::Add(const ShownPage& page, int play) {
  if (play != play_) {
    lines_.clear();
    play_ = play;
  }
  if (page.rows.empty() || (page.rows.size() == 1 && page.rows[0].empty())) return;
  // A page that continues a line joins it; any other starts a line.
  if (!page.continuesLine || lines_.empty()) lines_.emplace_back();
  for (std::size_t i = 0; i < page.rows.size(); ++i) lines_.back().push_back({page.rows[i], i == 0 && page.freshPage});
  while (lines_.size() > kMaxLines) lines_.pop_front();
}

std::vector<Backlog::Row> Backlog::Rows() const {
  std::vector<Row> rows;
  for (const auto& line : lines_) {
    for (const ShownRow& row : line) {
      if (row.startsPage && !rows.empty()) rows.push_back({"", true});
      rows.push_back({row.text, false});
    }
  }
  return rows;
}

bool BacklogTakeEvent(Game& game, Backlog& backlog, const InputEvent& e) {
  using Kind = InputEvent::Kind;
  if (!backlog.open) {
    if (!OpensIt(e) || !CanOpen(game) || backlog.Lines() == 0) return false;
    backlog.open = true;
    backlog.scrolled = 0;
    return true;
  }
  switch (e.kind) {
    case Kind::kKeyUp:
    case Kind::kCloseRequested:
    case Kind::kDialogAnswered: return false;
    case Kind::kWheel: TakeWheel(backlog, e.wheel); break;
    case Kind::kKeyDown: TakeKey(backlog, e.key); break;
    case Kind::kMouseDown:
      if (e.button == kRightButton) Close(backlog);
      break;
    case Kind::kMouseUp:
    case Kind::kMouseMove: break;
  }
  return true;
}

void DrawBacklog(Game& game, const Backlog& backlog, std::span<Colour> pixels) {
  ComfortCanvas canvas(game, pixels, kWholeScreen);
  canvas.DimmedPicture();
  const std::vector<Backlog::Row> rows = backlog.Rows();
  const int newest = static_cast<int>(rows.size()) - 1 - backlog.scrolled;
  for (int slot = kBacklogRows - 1, i = newest; slot >= 0 && i >= 0; --slot, --i) {
    const int y = kBacklogTextTop + kRowPitch * slot;
    if (rows[i].pageBreak)
      canvas.HorizontalLine(kBacklogBreakInset, kScreenWidth - kBacklogBreakInset, y + kBacklogBreakDrop, kBreakLine);
    else
      canvas.ShadowedText(kBacklogTextLeft, y, rows[i].text);
  }
}

}  // namespace pelmot
