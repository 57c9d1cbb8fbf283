#include "comforts/history.h"

#include <algorithm>

#include "game/game.h"
#include "game/run_flow.h"
#include "platform/ui_text.h"
#include "present/menu_page.h"
#include "present/shown_language.h"
#include "present/text_window.h"

namespace pelmot {
namespace {

bool IsEmptyPage(const ShownPage& page) { return page.rows.empty() || (page.rows.size() == 1 && page.rows[0].empty()); }

void AddOptionRows(const Game& game, History::Entry& entry) {
  const GameState& s = game.state;
  const ShownRows* shown = game.parts.Find<ShownRows>();
  for (int i = 0; i <= s.OptionCount && i < static_cast<int>(s.MenuItems.size()); ++i) {
    entry.rows.push_back(UiFormat(UiText::history_option, {ShownItem(game, i)}));
    const bool hasId = shown && i < static_cast<int>(shown->optionIds.size());
    entry.sources.push_back({hasId ? shown->optionIds[i] : "", s.MenuItems[i], 0, 0, false, true});
  }
}

// What a string holds beyond itself (none while short enough to fit inside).
std::size_t HeapBytes(const std::string& s) { return s.capacity() >= sizeof(std::string) ? s.capacity() + 1 : 0; }

}  // namespace

bool InScenePlay(const Game& game) {
  const std::int16_t mode = game.state.FlowMode;
  return mode == kModeScene || mode == kModeChoice;
}

bool ChoiceWaits(const Game& game) {
  return InScenePlay(game) && !game.state.ClickAdvances && game.form.MainPic.enabled;
}

void History::StepStarts(const Game& game) {
  if (replaying_ || eventPoint_) return;
  eventPoint_ = CaptureStoryPoint(game);
  // The first step after a choice runs in the event of its pick.
  if (current_ >= 0 && entries_[current_].choice && game.playsBegun == play_) {
    const Entry& choice = entries_[current_];
    reached_.pick = Reached::Pick{choice.choiceScene, choice.choiceStep, game.state.ChoiceNo, current_};
  }
}

// The entry this event's pages go into: made at its first page, or none
// when the event showed again what the next kept entry holds.
History::Entry* History::EntryOfThisEvent(const Game& game) {
  if (eventHasEntry_) return eventRollsForward_ ? nullptr : &entries_[current_];
  eventHasEntry_ = true;
  if (game.playsBegun != play_) {
    entries_.clear();
    current_ = -1;
    play_ = game.playsBegun;
  }
  StoryPoint point = eventPoint_ ? *eventPoint_ : CaptureStoryPoint(game);
  const auto next = static_cast<std::size_t>(current_ + 1);
  if (next < entries_.size() && entries_[next].point.SameStory(point)) {
    ++current_;
    eventRollsForward_ = true;
    return nullptr;
  }
  entries_.resize(next);
  entries_.push_back({std::move(point), {}, false, false, 0, -1, -1, {}});
  current_ = static_cast<int>(next);
  return &entries_.back();
}

void History::PageShown(const Game& game, const ShownPage& page) {
  if (replaying_ || game.state.FlowMode != kModeScene || IsEmptyPage(page)) return;
  Entry* entry = EntryOfThisEvent(game);
  if (!entry) return;
  entry->rows.insert(entry->rows.end(), page.rows.begin(), page.rows.end());
  entry->sources.push_back({page.lineId, page.lineOriginal, page.linePage, page.lineFirstRow, page.inWindow, false});
  if (page.freshPage) entry->startsPage = true;
  if (!page.continuesLine) ++entry->lines;
}

void History::EventEnds(const Game& game) {
  if (!replaying_ && eventPoint_ && ChoiceWaits(game)) {
    if (Entry* entry = EntryOfThisEvent(game)) {
      entry->choice = true;
      entry->choiceScene = game.state.SceneNo;
      entry->choiceStep = game.state.StepNo[kModeScene];
      AddOptionRows(game, *entry);
      reached_.choiceShown = current_;
    }
  }
  eventPoint_.reset();
  eventHasEntry_ = false;
  eventRollsForward_ = false;
}

// Runs the steps again from the last entry that cleared the page, so the
// page shows every row it had.
void History::GoBackTo(Game& game, int index) {
  if (index < 0 || index >= static_cast<int>(entries_.size())) return;
  replaying_ = true;
  const std::vector<StoryPoint> points = PagePoints(index);
  RestoreScreen(game, points.front());
  for (const StoryPoint& point : points) RunStepAt(game, point);
  replaying_ = false;
  current_ = index;
}

void History::ShowInLanguageNow(Game& game) {
  for (Entry& entry : entries_) {
    entry.rows.clear();
    for (const Entry::Source& from : entry.sources) {
      if (from.option) {
        entry.rows.push_back(UiFormat(UiText::history_option, {ShownWords(game, from.id, from.original)}));
        continue;
      }
      const std::string text = ShownLine(game, from.id, from.original);
      for (std::string& row : LineRowsOfPage(game, text, from.inWindow, from.page, from.firstRow))
        entry.rows.push_back(std::move(row));
    }
  }
}

void History::RenewOriginals(Game& game, const std::map<std::string, std::string>& originals) {
  for (Entry& entry : entries_) {
    for (Entry::Source& from : entry.sources)
      if (auto found = originals.find(from.id); found != originals.end()) from.original = found->second;
    // An entry that continues a line starts with that line's later page.
    StoryPoint& point = entry.point;
    if (point.pendingText.empty() || entry.sources.empty() || point.language != LanguageCode(game)) continue;
    const Entry::Source& line = entry.sources.front();
    if (line.option || line.page == 0) continue;
    point.pendingText =
        LineRestAfterPages(game, ShownLine(game, line.id, line.original), line.inWindow, line.page, line.firstRow);
  }
}

// Each point is an event of its own, so each makes an entry.
void History::Replay(Game& game, std::span<const StoryPoint> points) {
  if (points.empty()) return;
  ++game.playsBegun;
  EventEnds(game);
  RestoreScreen(game, points.front());
  for (const StoryPoint& point : points) {
    RunStepAt(game, point);
    EventEnds(game);
  }
}

std::vector<StoryPoint> History::PagePoints(int index) const {
  int first = index;
  while (first > 0 && !entries_[first].startsPage) --first;
  std::vector<StoryPoint> points;
  for (int i = first; i <= index; ++i) points.push_back(entries_[i].point);
  return points;
}

std::optional<int> History::ChoiceBefore() const {
  for (int i = current_ - 1; i >= 0; --i)
    if (entries_[i].choice) return i;
  return std::nullopt;
}

int History::Lines() const {
  int lines = 0;
  for (const Entry& entry : entries_) lines += entry.lines;
  return lines;
}

std::size_t History::Bytes() const {
  std::size_t bytes = entries_.capacity() * sizeof(Entry);
  for (const Entry& entry : entries_) {
    bytes += entry.rows.capacity() * sizeof(std::string) + HeapBytes(entry.point.pendingText);
    for (const std::string& row : entry.rows) bytes += HeapBytes(row);
  }
  return bytes;
}

}  // namespace pelmot
