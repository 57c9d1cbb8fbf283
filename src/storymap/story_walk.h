// Walking the story without a window: the flow of the operations the game
// follows (scenes/op_walk.h), applied to the story values alone, from one
// scene entry to the next stop (a choice, another scene, an ending, the game
// over). The story map counts and searches the pick sequences with it.
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "scenes/scene_model.h"

namespace pelmot::storymap {

// Where a play can end: endings 1 ... 10 (scenes 151 ... 160) at 0 ... 9,
// the game over, and a state in which no advance moves the story on.
inline constexpr int kGameOver = 10;
inline constexpr int kStuck = 11;
inline constexpr int kOutcomeCount = 12;
inline constexpr int kFirstEndingScene = 151;

// "151" ... "160", "game over", "stuck".
std::string OutcomeName(int outcome);

// What the story reads and changes while it runs.
struct WalkState {
  int scene = 0;
  int step = 0;
  std::int16_t condition = 0;
  std::int16_t lastChoice = 0;
  std::int16_t day = 1;
  std::array<std::int16_t, 4> params{};
  std::uint8_t endingNo = 0;
};

// A new game at scene 0, as the title's "start" leaves it.
WalkState NewGame(std::uint8_t endingNo);

// AddParam's arithmetic: the bonus by Condition, the day's amount for
// parameter 3, the result kept within 0 ... 999.
void AddToParam(WalkState& s, int index, int amount);

struct WalkStop {
  enum class Kind { Choice, Enter, Outcome };
  Kind kind = Kind::Outcome;
  int outcome = kStuck;                // Outcome
  const OptionSet* options = nullptr;  // Choice
  bool byParams = false;               // Enter: the ending the parameters select
};

// What a walk passed on its way: the value changes, as written in the
// story ("P1+20", "C:=6", "Day:=3").
struct WalkTrace {
  std::vector<std::string> changes;
  std::vector<std::pair<int, int>> adds;  // (index, amount) as AddParam resolved them
};

// Every line step and option set some walk showed, by lane position.
struct ShownSteps {
  std::set<std::tuple<int, int, int>> lines;         // scene, lane, step
  std::set<std::tuple<int, int, int, int>> options;  // scene, lane, step, Condition
};

class StoryWalker {
 public:
  explicit StoryWalker(const Story& story) : story_(story) {}

  // Runs from the state's step until the story stops; the state is left at
  // the stop (the choice step, step 0 of the next scene, ...).
  WalkStop Run(WalkState& s, WalkTrace* trace);
  // The player picks `pick` at the choice the state waits at, and the story
  // runs on to its next stop.
  WalkStop Pick(WalkState& s, int pick, WalkTrace* trace);

  const Story& story() const { return story_; }
  const ShownSteps& shown() const { return shown_; }

 private:
  WalkStop RunFrom(WalkState& s, bool pickEvent, int pick, WalkTrace* trace);

  const Story& story_;
  ShownSteps shown_;
};

}  // namespace pelmot::storymap
