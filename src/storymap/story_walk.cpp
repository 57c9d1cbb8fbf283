#include "storymap/story_walk.h"

#include <algorithm>
#include <utility>

#include "game/run_flow.h"
#include "scenes/op_walk.h"

namespace pelmot::storymap {
namespace {

// More steps than any scene has: a walk that takes longer goes round in
// circles, which no advance gets out of either.
constexpr int kMaxStepsInScene = 5000;

WalkStop Enter(WalkState& s, int scene, bool byParams) {
  s.scene = scene;
  s.step = 0;
  return {WalkStop::Kind::Enter, kStuck, nullptr, byParams};
}

int LastStepOf(const SceneScript& scene) {
  int last = 0;
  for (const Lane& lane : scene.lanes) last = std::max(last, lane.Last());
  return last;
}

std::string Signed(int amount) { return (amount < 0 ? "-" : "+") + std::to_string(amount < 0 ? -amount : amount); }

void Note(WalkTrace* trace, std::string change) {
  if (trace) trace->changes.push_back(std::move(change));
}

// What the operations change in the story values, and what they show.
class WalkEffects {
 public:
  WalkEffects(WalkState& s, WalkTrace* trace, ShownSteps& shown, int scene, int lane)
      : s_(s), trace_(trace), shown_(shown), scene_(scene), lane_(lane) {}
  int Condition() const { return s_.condition; }
  int LastChoice() const { return s_.lastChoice; }
  void Line(const Op&) { shown_.lines.emplace(scene_, lane_, s_.step); }
  // Pictures, backgrounds and skipping change no story value.
  void Picture(const Op&) {}
  void Background(const Op&) {}
  void StopSkip(const Op&) {}
  void AddParam(const Op& op);
  void SetCondition(const Op& op) {
    s_.condition = static_cast<std::int16_t>(op.a);
    Note(trace_, "C:=" + std::to_string(op.a));
  }
  void SetDay(const Op& op) {
    s_.day = static_cast<std::int16_t>(op.a);
    Note(trace_, "Day:=" + std::to_string(op.a));
  }

 private:
  WalkState& s_;
  WalkTrace* trace_;
  ShownSteps& shown_;
  int scene_;
  int lane_;
};

void WalkEffects::AddParam(const Op& op) {
  if (op.a < 0 || op.a > 3) return;
  if (trace_) {
    const std::int16_t before = s_.params[op.a];
    s_.params[op.a] = 500;  // away from both limits: the amount itself
    AddToParam(s_, op.a, op.b);
    trace_->adds.emplace_back(op.a, s_.params[op.a] - 500);
    s_.params[op.a] = before;
  }
  AddToParam(s_, op.a, op.b);
  Note(trace_, "P" + std::to_string(op.a) + Signed(op.b));
}

}  // namespace

std::string OutcomeName(int outcome) {
  if (outcome >= 0 && outcome < kGameOver) return std::to_string(kFirstEndingScene + outcome);
  return outcome == kGameOver ? "game over" : "stuck";
}

WalkState NewGame(std::uint8_t endingNo) {
  WalkState s;
  s.endingNo = endingNo;
  return s;
}

void AddToParam(WalkState& s, int index, int amount) {
  if (amount > 0) {
    if ((index == 0 && s.condition == 4) || (index != 0 && s.condition == 5)) amount += 10;
    if (index == 3 && s.day >= 1 && s.day <= 15) amount = DayTable[s.day];
  }
  s.params[index] = static_cast<std::int16_t>(std::clamp(s.params[index] + amount, 0, 999));
}

WalkStop StoryWalker::Run(WalkState& s, WalkTrace* trace) { return RunFrom(s, false, 0, trace); }

WalkStop StoryWalker::Pick(WalkState& s, int pick, WalkTrace* trace) {
  // A choice in the message window keeps the pick itself; one on the page
  // leaves that to the step after it.
  const SceneScript* scene = story_.Find(s.scene);
  if (scene && scene->family == Family::Day) s.lastChoice = static_cast<std::int16_t>(pick);
  ++s.step;
  return RunFrom(s, true, pick, trace);
}

WalkStop StoryWalker::RunFrom(WalkState& s, bool pickEvent, int pick, WalkTrace* trace) {
  const SceneScript* scene = story_.Find(s.scene);
  if (!scene) return {};
  const int lastStep = LastStepOf(*scene);
  for (int n = 0; n < kMaxStepsInScene && s.step >= 0 && s.step <= lastStep; ++n) {
    if (std::exchange(pickEvent, false) && TakesPick(*scene, s.step, s.condition))
      s.lastChoice = static_cast<std::int16_t>(pick);
    const LaneStep current = StepToRun(*scene, s.step, s.condition, s.lastChoice);
    if (!current.step) {
      ++s.step;  // nothing runs: the next advance tries the next number
      continue;
    }
    const int lane = current.LaneIndex(*scene);
    WalkEffects effects(s, trace, shown_, scene->number, lane);
    const StepExit exit = WalkOps(current.step->ops, s.step, effects);
    switch (exit.kind) {
      case StepExit::Kind::Waits: ++s.step; break;
      case StepExit::Kind::Choice:
        shown_.options.emplace(scene->number, lane, s.step, s.condition);
        return {WalkStop::Kind::Choice, 0, exit.options};
      case StepExit::Kind::ToStep: s.step = exit.target; break;
      case StepExit::Kind::ToScene: return Enter(s, exit.target, false);
      case StepExit::Kind::SelectEnding: return Enter(s, SelectEndingScene(s.params, s.endingNo), true);
      case StepExit::Kind::GameOver: return {WalkStop::Kind::Outcome, kGameOver};
      case StepExit::Kind::Ending:
        return {WalkStop::Kind::Outcome, exit.target >= 1 && exit.target <= 10 ? exit.target - 1 : kStuck};
    }
  }
  return {};  // past the last step, or round in circles: no advance helps
}

}  // namespace pelmot::storymap
