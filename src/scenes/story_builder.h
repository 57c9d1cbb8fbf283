// A small vocabulary for writing the story's structure as data: the lanes of
// a scene, its choice steps, and the steps that change values or hand on.
// Every step not named is a line step whose words the scenario supplies; the
// step before a choice also stops skipping.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "scenes/scene_model.h"

namespace pelmot::story {

// --- operations, in the notation of the scene table --------------------
Op P(int index, int amount);  // AddParam(index, amount)
Op C(int value);              // Condition := value
Op Day(int value);            // DayNo := value
Op Next();                    // advance: the next step at once
Op JumpTo(int step);
Op Go(int scene);
Op GameOverOp();
Op EndingOp(int ending);
Op SelectEndingOp();
// A way of a branch: for the pick (kAnyPick: any) and the Conditions listed
// as in "0, 3" (empty: any).
BranchCase When(int pick, std::vector<Op> ops);
BranchCase When(int pick, const char* conditions, std::vector<Op> ops);
Op Branch(std::vector<BranchCase> cases);

// "5, 21, 115-121" as numbers; a malformed list is a fault in the data.
std::vector<int> NumberList(const char* text);

// --- lanes ---------------------------------------------------------------
struct LaneLayout {
  LaneRule rule = LaneRule::Single;
  // Single: {last}. ByPick: {shared last, pick 0 last, pick 1 last}.
  // ByCondition: {condition, last} pairs.
  std::vector<std::pair<int, int>> ranges;
};
LaneLayout Single(int last);
LaneLayout ByPick(int sharedLast, int pick0Last, int pick1Last);
LaneLayout ByCondition(std::vector<std::pair<int, int>> conditionAndLast);

// Which lanes a declaration is for.
struct Lanes {
  enum class Kind { Every, PickLane, ConditionLane } kind = Kind::Every;
  int value = 0;
};
inline constexpr Lanes kEvery{};
inline constexpr Lanes InPick(int pick) { return {Lanes::Kind::PickLane, pick}; }
inline constexpr Lanes InC(int condition) { return {Lanes::Kind::ConditionLane, condition}; }

class SceneBuilder {
 public:
  SceneBuilder(int number, const LaneLayout& layout);

  // The pictures and backgrounds the scene shows, and for a choice scene the
  // Condition values it is reached with.
  SceneBuilder& Shows(const char* pictures, const char* backgrounds = "");
  SceneBuilder& Receives(const char* conditions);

  // Step 0 of every lane shows picture 5 and waits.
  SceneBuilder& PictureStep();
  SceneBuilder& Choice(int step, int options) { return Choice(kEvery, step, options); }
  SceneBuilder& Choice(Lanes lanes, int step, int options);
  // One option set per Condition value: {condition, options}.
  SceneBuilder& ChoiceByCondition(int step, std::vector<std::pair<int, int>> optionsByCondition);
  // The update step of a pick: pick 0's operations and pick 1's. In a scene
  // with lanes by pick they are the first step of each pick lane.
  SceneBuilder& OnPick(int step, std::vector<Op> pick0, std::vector<Op> pick1);
  SceneBuilder& At(int step, std::vector<Op> ops) { return At(kEvery, step, std::move(ops)); }
  SceneBuilder& At(Lanes lanes, int step, std::vector<Op> ops);
  SceneBuilder& Branch(int step, std::vector<BranchCase> cases);
  SceneBuilder& Branch(Lanes lanes, int step, std::vector<BranchCase> cases);
  SceneBuilder& FixedLine(int step, const std::string& text);
  SceneBuilder& Empty(Lanes lanes, int step);
  // The line before the lane's choice does not stop skipping.
  SceneBuilder& SkipRunsIntoChoice(Lanes lanes);
  // The scenario's picture for this step is loaded after its line.
  SceneBuilder& PictureAfterLine(int step);

  // The scene with its pre-choice steps marked.
  SceneScript Finish() const;

 private:
  std::vector<Step*> StepsFor(Lanes lanes, int step);
  std::vector<Lane*> LanesFor(Lanes lanes);
  [[noreturn]] void Fault(const std::string& what) const;

  SceneScript scene_;
  std::vector<std::ptrdiff_t> runsIntoChoice_;  // lane positions
};

// Collects the scenes; Build() finishes them all.
class StoryBuilder {
 public:
  SceneBuilder& Scene(int number, const LaneLayout& layout);
  // An ending scene: optional picture step, the end mark (story_end_mark) on the
  // second-to-last step and the ending operation on the last.
  SceneBuilder& EndingScene(int number, int last, bool pictureStep);
  Story Build() const;

 private:
  std::vector<std::unique_ptr<SceneBuilder>> scenes_;
};

inline constexpr int kPictureStepPicture = 5;

}  // namespace pelmot::story
