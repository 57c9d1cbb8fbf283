// The flow of play through a scene's operations, written once for the three
// that follow it: the game's interpreter (story_runner.h), the story map's
// walk on the story values alone (storymap/story_walk.h) and the pictures'
// look-ahead (picture_lookahead.h). Each supplies only what the operations
// that show or change something do; where play goes next (a wait, a pick,
// another step or scene, the end) comes back as a StepExit that each follows
// in its own way.
#pragma once

#include <concepts>
#include <cstdint>
#include <vector>

#include "scenes/scene_model.h"

namespace pelmot {

// Where play goes once a step's operations have run.
struct StepExit {
  enum class Kind : std::uint8_t {
    Waits,         // for the player's advance, which runs the next step
    Choice,        // for a pick among `options`
    ToStep,        // at once to step `target` of the scene (Advance, Jump)
    ToScene,       // at once to step 0 of scene `target`
    SelectEnding,  // at once to the ending scene the parameters select
    GameOver,
    Ending,  // ending `target`
  };
  Kind kind = Kind::Waits;
  int target = 0;
  const OptionSet* options = nullptr;
};

// What a follower of the story supplies: the two values the flow reads, and
// what each operation does that lets the step go on. SetCondition must
// change what Condition() answers: a later branch or choice of the same
// step reads the new value.
template <class T>
concept OpEffects = requires(T& fx, const Op& op) {
  { fx.Condition() } -> std::convertible_to<int>;
  { fx.LastChoice() } -> std::convertible_to<int>;
  fx.Picture(op);
  fx.Background(op);
  fx.Line(op);
  fx.StopSkip(op);
  fx.AddParam(op);
  fx.SetCondition(op);
  fx.SetDay(op);
};

// A step as play finds it: the lane that Condition and LastChoice select,
// and its step of that number.
struct LaneStep {
  const Lane* lane = nullptr;
  const Step* step = nullptr;
  int LaneIndex(const SceneScript& scene) const { return static_cast<int>(lane - scene.lanes.data()); }
};

// The step that runs at `step`. Without one (no lane serves the Condition
// or pick, or the lane has no such step) nothing runs and play waits; the
// advance then tries the next number.
LaneStep StepToRun(const SceneScript& scene, int step, int condition, int lastChoice);

// The step right after a choice takes the pick as LastChoice before anything
// reads it.
bool TakesPick(const SceneScript& scene, int step, int condition);

// The options a choice shows at `condition`, or nothing.
const OptionSet* OptionsFor(const Op& choice, int condition);

// The case of a branch that runs: the first that holds, or nothing.
const BranchCase* CaseFor(const Op& branch, int lastChoice, int condition);

// Runs the operations of step `step` in order, each one's effect through
// `fx`, up to the first that hands on or shows a choice.
template <OpEffects Effects>
StepExit WalkOps(const std::vector<Op>& ops, int step, Effects& fx) {
  using Kind = StepExit::Kind;
  for (const Op& op : ops) {
    switch (op.kind) {
      case OpKind::Picture: fx.Picture(op); break;
      case OpKind::Background: fx.Background(op); break;
      case OpKind::Line: fx.Line(op); break;
      case OpKind::StopSkip: fx.StopSkip(op); break;
      case OpKind::AddParam: fx.AddParam(op); break;
      case OpKind::SetCondition: fx.SetCondition(op); break;
      case OpKind::SetDay: fx.SetDay(op); break;
      case OpKind::Choice:
        // With no options for the Condition the choice shows nothing, and
        // the step is a plain one.
        if (const OptionSet* set = OptionsFor(op, fx.Condition())) return {Kind::Choice, 0, set};
        break;
      case OpKind::Advance: return {Kind::ToStep, step + 1};
      case OpKind::Jump: return {Kind::ToStep, op.a};
      case OpKind::GoToScene: return {Kind::ToScene, op.a};
      case OpKind::SelectEnding: return {Kind::SelectEnding};
      case OpKind::GameOver: return {Kind::GameOver};
      case OpKind::Ending: return {Kind::Ending, op.a};
      case OpKind::Branch:
        // With no case that holds the step waits, as a plain one.
        if (const BranchCase* c = CaseFor(op, fx.LastChoice(), fx.Condition())) return WalkOps(c->ops, step, fx);
        return {};
    }
  }
  return {};
}

}  // namespace pelmot
