// The history of the story: what each click showed since the game started
// or was loaded, each with the point the story stood at, so that the player
// can read it back and return to any of it. After going back the later
// entries stay until the story leaves their way: going on through the same
// lines keeps them, a different pick cuts them off.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "comforts/story_point.h"

namespace pelmot {

class Game;
struct ShownPage;

class History {
 public:
  struct Entry {
    StoryPoint point;
    std::vector<std::string> rows;          // the rows shown, the options of a choice among them
    bool startsPage = false;                // the page was cleared for it
    bool choice = false;                    // it ends waiting for a pick
    int lines = 0;                          // scenario lines it began
    int choiceScene = -1, choiceStep = -1;  // where its choice is
    // Where its rows come from, to lay them out again in another language.
    struct Source {
      std::string id, original;
      int page = 0, firstRow = 0;
      bool inWindow = false;
      bool option = false;
    };
    std::vector<Source> sources{};
  };

  // What play reached since it was last asked: a choice shown anew (with
  // the points from its page's start) and a pick made.
  struct Reached {
    std::optional<int> choiceShown;  // the entry
    struct Pick {
      int scene, step, row;
      int entry;  // the choice's entry
    };
    std::optional<Pick> pick;
  };
  Reached TakeReached() { return std::exchange(reached_, {}); }
  // What TakeReached will give, left for it.
  const Reached& Reaching() const { return reached_; }
  // The points of the entries from the start of entry `index`'s page to it.
  std::vector<StoryPoint> PagePoints(int index) const;

  // The game's hooks, as play goes on: a scene step begins, a page shows,
  // the event or timer that did it is over.
  void StepStarts(const Game& game);
  void PageShown(const Game& game, const ShownPage& page);
  void EventEnds(const Game& game);

  // Returns the story to entry `index` as it was shown.
  void GoBackTo(Game& game, int index);
  // Lays every entry's rows out again in the language now shown.
  void ShowInLanguageNow(Game& game);
  // After the scenario was read again: each entry's words by text ID from
  // `originals` (an ID not there keeps its words), and the rest a later
  // page of a line continues from laid out anew; lay the rows out with
  // ShowInLanguageNow.
  void RenewOriginals(Game& game, const std::map<std::string, std::string>& originals);
  // Shows the page of `points` (from its start) and begins the history
  // afresh, as a load does.
  void Replay(Game& game, std::span<const StoryPoint> points);
  // The last choice before the entry on screen, if any.
  std::optional<int> ChoiceBefore() const;

  const std::vector<Entry>& Entries() const { return entries_; }
  // The entry on screen (-1 with none).
  int Current() const { return current_; }
  // The scenario lines the entries began.
  int Lines() const;
  // The bytes the entries take, for the benchmarks.
  std::size_t Bytes() const;

 private:
  Entry* EntryOfThisEvent(const Game& game);

  std::vector<Entry> entries_;
  int current_ = -1;
  int play_ = -1;
  std::optional<StoryPoint> eventPoint_;  // where this event's first step began
  bool eventHasEntry_ = false;
  bool eventRollsForward_ = false;  // it showed what the next kept entry holds
  bool replaying_ = false;
  Reached reached_;
};

// The story is playing: a scene, or a choice of its message window.
bool InScenePlay(const Game& game);
// A pick waits in scene play: a choice's options are on screen.
bool ChoiceWaits(const Game& game);

}  // namespace pelmot
