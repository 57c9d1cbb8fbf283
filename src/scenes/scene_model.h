// The scene model: a scene is a set of lanes, a lane a run of numbered steps,
// a step an ordered list of operations. One interpreter (story_runner.h) runs
// them; the story's structure (story_structure.h) and the scenario's words
// (content.h) are both held in these types.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "present/choices.h"

namespace pelmot {

// A set of Condition values 0 ... 7, or every value at all.
class ConditionSet {
 public:
  static constexpr ConditionSet Any() { return ConditionSet(kAll); }
  static ConditionSet Of(std::initializer_list<int> values);
  static constexpr ConditionSet FromBits(std::uint8_t bits) { return ConditionSet(bits); }
  constexpr ConditionSet() = default;

  bool Holds(int condition) const;
  bool IsAny() const { return bits_ == kAll; }
  bool IsEmpty() const { return bits_ == 0; }
  std::uint16_t Bits() const { return bits_; }
  // "C0", "C0,3"; "any" for every value.
  std::string Name() const;
  friend bool operator==(ConditionSet, ConditionSet) = default;

 private:
  static constexpr std::uint16_t kAll = 0x100;  // also matches values outside 0 ... 7
  constexpr explicit ConditionSet(std::uint16_t bits) : bits_(bits) {}
  std::uint16_t bits_ = kAll;
};

// Which text and choice operations a scene's steps use.
enum class Family {
  Prologue,  // full-screen text, choices on the page
  Day,       // the message window, choices in the window (kModeChoice)
  Event,     // full-screen text, choices on the page
};

enum class OpKind : std::uint8_t {
  Picture,     // a: picture 1 ... 134; 0 in the structure: the scenario names it
  Background,  // a: background 0 ... 20
  Line,        // text; empty in the structure: the scenario supplies it
  StopSkip,
  Choice,        // optionSets: the options by Condition
  AddParam,      // a: index, b: amount
  SetCondition,  // a: value
  SetDay,        // a: value
  Advance,       // the next step at once
  Jump,          // a: step, at once
  GoToScene,     // a: scene, step 0 at once
  GameOver,
  Ending,        // a: ending number 1 ... 10
  SelectEnding,  // goes to the ending scene the parameters select
  Branch,        // cases: the first that holds runs
};

// The options of a choice for the Condition values in `conditions`. In the
// structure `count` says how many options the scenario must give.
struct OptionSet {
  ConditionSet conditions = ConditionSet::Any();
  int count = 0;
  Options options{};
  OptionIds ids{};  // for the options' translations
};

struct BranchCase;

struct Op {
  OpKind kind = OpKind::Advance;
  int a = 0;
  int b = 0;
  std::string text;
  std::string textId;      // a Line's ID for its translations
  bool fixedText = false;  // a Line whose words belong to the structure
  std::vector<OptionSet> optionSets;
  std::vector<BranchCase> cases;

  // True for the operations after which the step hands control on.
  bool HandsOn() const;
};

inline constexpr int kAnyPick = -1;

// One way of a branch step: the pick (LastChoice) and the Conditions it
// serves, and what it does.
struct BranchCase {
  int pick = kAnyPick;
  ConditionSet conditions = ConditionSet::Any();
  std::vector<Op> ops;
  bool Holds(int lastChoice, int condition) const;
};

// An empty step does nothing.
struct Step {
  std::vector<Op> ops;
  bool IsEmpty() const { return ops.empty(); }
  bool IsChoice() const { return !ops.empty() && ops.front().kind == OpKind::Choice; }
};

enum class LaneRule { Single, ByCondition, ByPick };

struct LaneKey {
  LaneRule rule = LaneRule::Single;
  ConditionSet conditions = ConditionSet::Any();  // ByCondition
  int pick = kAnyPick;                            // ByPick: 0, 1; the shared lane: kAnyPick
  // "", "C6", "p0".
  std::string Name() const;
};

struct Lane {
  LaneKey key;
  int first = 0;
  std::vector<Step> steps;  // steps[i] is step first + i

  int Last() const { return first + static_cast<int>(steps.size()) - 1; }
  bool Has(int step) const { return step >= first && step <= Last(); }
  // The step, or nothing for a number outside the lane.
  const Step* At(int step) const { return Has(step) ? &steps[step - first] : nullptr; }
  Step* At(int step) { return Has(step) ? &steps[step - first] : nullptr; }
};

struct SceneScript {
  int number = 0;
  Family family = Family::Event;
  LaneRule rule = LaneRule::Single;
  // Single: one lane. ByCondition: one per served Condition set.
  // ByPick: the shared lane, then the lanes of pick 0 and pick 1.
  std::vector<Lane> lanes;
  // What the scene shows, as sets (checked against the scenario) and the
  // Condition values the scene is reached with (choice scenes).
  std::vector<int> pictures;
  std::vector<int> backgrounds;
  std::vector<int> receives;

  // By pick: the choice step that ends the shared lane.
  int SharedChoiceStep() const { return lanes.front().Last(); }
  // The lane that serves `step`, or nothing: by Condition, by LastChoice.
  const Lane* ServingLane(int step, int condition, int lastChoice) const;
  // The lane that holds the choice `step` directly follows, if any.
  const Lane* LaneOfChoiceBefore(int step, int condition) const;
  int StepCount() const;
};

inline constexpr int kLastSceneNo = 160;

// The 95 scenes, found by number.
class Story {
 public:
  Story() = default;
  Story(const Story& other) { *this = other; }
  Story& operator=(const Story& other);
  Story(Story&&) = default;
  Story& operator=(Story&&) = default;

  void Add(SceneScript scene);
  const SceneScript* Find(int sceneNo) const;
  SceneScript* Find(int sceneNo);
  const std::vector<SceneScript>& Scenes() const { return scenes_; }
  std::vector<SceneScript>& Scenes() { return scenes_; }

 private:
  void Reindex();
  std::vector<SceneScript> scenes_;
  std::array<int, kLastSceneNo + 1> index_{};  // scene number to position + 1
};

// What the scenario supplies for a step of the structure: a line (with its
// picture and background), only a picture and background for a step whose
// line is fixed, the options of a choice, or nothing.
enum class StepSlot { None, Line, FixedLine, Choice };
StepSlot SlotOf(const Step& step);
// The step's scenario picture is loaded after its line, not before it.
bool LoadsPictureAfterLine(const Step& step);
// What a step without a slot is, for messages: "a picture step", ...
std::string DescribeStep(const Step& step);
// "20 C6 s4": a step as the scenario file names it.
std::string StepHeader(const SceneScript& scene, int lane, int step);

// The ending scene (151 ... 160) the four parameters and EndingNo select.
int SelectEndingScene(const std::array<std::int16_t, 4>& params, int endingNo);

}  // namespace pelmot
