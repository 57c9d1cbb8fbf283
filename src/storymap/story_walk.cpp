#include "storymap/story_walk.h"

#include <algorithm>
#include <utility>

#include "game/run_flow.h"

namespace pelmot::storymap {
namespace {

// More steps than any scene has: a walk that takes longer goes round in
// circles, which no advance gets out of either.
constexpr int kMaxStepsInScene = 5000;

int LastStepOf(const SceneScript& scene) {
  int last = 0;
  for (const Lane& lane : scene.lanes) last = std::max(last, lane.Last());
  return last;
}

std::string Signed(int amount) { return (amount < 0 ? "-" : "+") + std::to_string(amount < 0 ? -amount : amount); }

void Note(WalkTrace* trace, std::string change) {
  if (trace) trace->changes.push_back(std::move(change));
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
    if (std::exchange(pickEvent, false) && scene->LaneOfChoiceBefore(s.step, s.condition))
      s.lastChoice = static_cast<std::int16_t>(pick);
    const Lane* lane = scene->ServingLane(s.step, s.condition, s.lastChoice);
    const Step* step = lane ? lane->At(s.step) : nullptr;
    if (!step) {
      ++s.step;  // an empty step: the next advance tries the next number
      continue;
    }
    WalkStop stop;
    const int laneIndex = static_cast<int>(lane - scene->lanes.data());
    switch (RunOps(*scene, laneIndex, step->ops, s, trace, stop)) {
      case Flow::Waits:
        ++s.step;
        break;
      case Flow::Moved:
        break;
      case Flow::Stopped:
        return stop;
    }
  }
  return {};  // past the last step, or round in circles: no advance helps
}

StoryWalker::Flow StoryWalker::RunOps(const SceneScript& scene, int lane, const std::vector<Op>& ops, WalkState& s,
                                      WalkTrace* trace, WalkStop& stop) {
  for (const Op& op : ops) {
    switch (op.kind) {
      case OpKind::Line:
        shown_.lines.emplace(scene.number, lane, s.step);
        break;
      case OpKind::Choice:
        for (const OptionSet& set : op.optionSets) {
          if (!set.conditions.Holds(s.condition)) continue;
          shown_.options.emplace(scene.number, lane, s.step, s.condition);
          stop = {WalkStop::Kind::Choice, 0, &set};
          return Flow::Stopped;
        }
        break;  // no options for this Condition: the step shows nothing
      case OpKind::GoToScene:
        s.scene = op.a;
        s.step = 0;
        stop.kind = WalkStop::Kind::Enter;
        return Flow::Stopped;
      case OpKind::SelectEnding:
        s.scene = SelectEndingScene(s.params, s.endingNo);
        s.step = 0;
        stop.kind = WalkStop::Kind::Enter;
        stop.byParams = true;
        return Flow::Stopped;
      case OpKind::GameOver:
        stop.outcome = kGameOver;
        return Flow::Stopped;
      case OpKind::Ending:
        stop.outcome = op.a >= 1 && op.a <= 10 ? op.a - 1 : kStuck;
        return Flow::Stopped;
      case OpKind::Branch:
        for (const BranchCase& c : op.cases)
          if (c.Holds(s.lastChoice, s.condition)) return RunOps(scene, lane, c.ops, s, trace, stop);
        return Flow::Waits;
      default:
        if (RunValueOp(op, s, trace) == Flow::Moved) return Flow::Moved;
        break;
    }
  }
  return Flow::Waits;
}

StoryWalker::Flow StoryWalker::RunValueOp(const Op& op, WalkState& s, WalkTrace* trace) {
  switch (op.kind) {
    case OpKind::AddParam:
      if (op.a < 0 || op.a > 3) break;
      if (trace) {
        const std::int16_t before = s.params[op.a];
        s.params[op.a] = 500;  // away from both limits: the amount itself
        AddToParam(s, op.a, op.b);
        trace->adds.emplace_back(op.a, s.params[op.a] - 500);
        s.params[op.a] = before;
      }
      AddToParam(s, op.a, op.b);
      Note(trace, "P" + std::to_string(op.a) + Signed(op.b));
      break;
    case OpKind::SetCondition:
      s.condition = static_cast<std::int16_t>(op.a);
      Note(trace, "C:=" + std::to_string(op.a));
      break;
    case OpKind::SetDay:
      s.day = static_cast<std::int16_t>(op.a);
      Note(trace, "Day:=" + std::to_string(op.a));
      break;
    case OpKind::Advance:
      ++s.step;
      return Flow::Moved;
    case OpKind::Jump:
      s.step = op.a;
      return Flow::Moved;
    default:
      break;  // pictures, backgrounds and skipping change no story value
  }
  return Flow::Waits;
}

}  // namespace pelmot::storymap
