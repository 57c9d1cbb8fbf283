#include "scenes/scene_model.h"

#include <stdexcept>

namespace pelmot {

ConditionSet ConditionSet::Of(std::initializer_list<int> values) {
  std::uint16_t bits = 0;
  for (int v : values) {
    if (v < 0 || v > 7) throw std::logic_error("Condition values are 0 ... 7");
    bits = static_cast<std::uint16_t>(bits | (1u << v));
  }
  return ConditionSet(bits);
}

bool ConditionSet::Holds(int condition) const {
  if (IsAny()) return true;
  return condition >= 0 && condition <= 7 && (bits_ >> condition) & 1u;
}

std::string ConditionSet::Name() const {
  if (IsAny()) return "any";
  std::string name = "C";
  for (int v = 0; v <= 7; ++v) {
    if (!Holds(v)) continue;
    if (name.size() > 1) name += ",";
    name += std::to_string(v);
  }
  return name;
}

bool Op::HandsOn() const {
  switch (kind) {
    case OpKind::Advance:
    case OpKind::Jump:
    case OpKind::GoToScene:
    case OpKind::GameOver:
    case OpKind::Ending:
    case OpKind::SelectEnding:
    case OpKind::Branch: return true;
    case OpKind::Picture:
    case OpKind::Background:
    case OpKind::Line:
    case OpKind::StopSkip:
    case OpKind::Choice:
    case OpKind::AddParam:
    case OpKind::SetCondition:
    case OpKind::SetDay: return false;
  }
  return false;
}

bool BranchCase::Holds(int lastChoice, int condition) const {
  return (pick == kAnyPick || pick == lastChoice) && conditions.Holds(condition);
}

std::string LaneKey::Name() const {
  switch (rule) {
    case LaneRule::ByCondition: return conditions.Name();
    case LaneRule::ByPick: return pick == kAnyPick ? "" : "p" + std::to_string(pick);
    case LaneRule::Single: break;
  }
  return "";
}

const Lane* SceneScript::ServingLane(int step, int condition, int lastChoice) const {
  switch (rule) {
    case LaneRule::Single: return &lanes.front();
    case LaneRule::ByCondition:
      for (const Lane& lane : lanes)
        if (lane.key.conditions.Holds(condition)) return &lane;
      return nullptr;
    case LaneRule::ByPick:
      if (step <= SharedChoiceStep()) return &lanes.front();
      if (lastChoice == 0 || lastChoice == 1) return &lanes[1 + lastChoice];
      return nullptr;
  }
  return nullptr;
}

const Lane* SceneScript::LaneOfChoiceBefore(int step, int condition) const {
  // By pick the choice sits in the shared lane, whose steps end with it.
  const Lane* lane = rule == LaneRule::ByPick ? &lanes.front() : ServingLane(step, condition, 0);
  if (!lane) return nullptr;
  const Step* before = lane->At(step - 1);
  return before && before->IsChoice() ? lane : nullptr;
}

int SceneScript::StepCount() const {
  int count = 0;
  for (const Lane& lane : lanes) count += static_cast<int>(lane.steps.size());
  return count;
}

Story& Story::operator=(const Story& other) {
  scenes_ = other.scenes_;
  Reindex();
  return *this;
}

void Story::Add(SceneScript scene) {
  if (scene.number < 0 || scene.number > kLastSceneNo || Find(scene.number))
    throw std::logic_error("scene " + std::to_string(scene.number) + " added twice or out of range");
  scenes_.push_back(std::move(scene));
  Reindex();
}

void Story::Reindex() {
  index_.fill(0);
  for (std::size_t i = 0; i < scenes_.size(); ++i) index_[scenes_[i].number] = static_cast<int>(i) + 1;
}

const SceneScript* Story::Find(int sceneNo) const {
  if (sceneNo < 0 || sceneNo > kLastSceneNo || index_[sceneNo] == 0) return nullptr;
  return &scenes_[index_[sceneNo] - 1];
}

SceneScript* Story::Find(int sceneNo) {
  return const_cast<SceneScript*>(static_cast<const Story&>(*this).Find(sceneNo));
}

StepSlot SlotOf(const Step& step) {
  for (const Op& op : step.ops) {
    if (op.kind == OpKind::Choice) return StepSlot::Choice;
    if (op.kind == OpKind::Line) return op.fixedText ? StepSlot::FixedLine : StepSlot::Line;
  }
  return StepSlot::None;
}

bool LoadsPictureAfterLine(const Step& step) {
  bool lineSeen = false;
  for (const Op& op : step.ops) {
    if (op.kind == OpKind::Line) lineSeen = true;
    if (op.kind == OpKind::Picture && op.a == 0 && lineSeen) return true;
  }
  return false;
}

std::string DescribeStep(const Step& step) {
  if (step.IsEmpty()) return "an empty step";
  switch (step.ops.front().kind) {
    case OpKind::Picture: return "a picture step (picture " + std::to_string(step.ops.front().a) + ")";
    case OpKind::Branch: return "a branch step";
    case OpKind::Line: return "a line step";
    case OpKind::Choice: return "a choice step";
    case OpKind::GoToScene:
    case OpKind::GameOver:
    case OpKind::Ending:
    case OpKind::SelectEnding: return "an end step";
    case OpKind::Background:
    case OpKind::StopSkip:
    case OpKind::AddParam:
    case OpKind::SetCondition:
    case OpKind::SetDay:
    case OpKind::Advance:
    case OpKind::Jump: return "an update step";
  }
  return "an update step";
}

std::string StepHeader(const SceneScript& scene, int lane, int step) {
  std::string header = std::to_string(scene.number);
  const std::string laneName = scene.lanes[lane].key.Name();
  if (!laneName.empty()) header += " " + laneName;
  return header + " s" + std::to_string(step);
}

int SelectEndingScene(const std::array<std::int16_t, 4>& params, int endingNo) {
  const int p0 = params[0], p1 = params[1], p2 = params[2], p3 = params[3];
  if (p0 < 80 && p1 < 80 && p2 < 80) return 151;
  if (p3 < 270) {
    if (p1 >= 120 && p2 >= 120) return 152;
    if (p0 >= 120) return 153;
    if (p1 > p2) return 154;
    return 155;
  }
  if (p0 >= 120 && p1 >= 120 && p2 >= 120 && endingNo != 0) return 160;
  if (p0 > p1 && p0 > p2) return 156;
  if (p1 > p2) return 157;
  if ((p0 < 120 || p1 < 120) && p2 > p1) return 158;
  return 159;
}

}  // namespace pelmot
