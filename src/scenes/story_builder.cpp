#include "scenes/story_builder.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "platform/ui_text.h"
#include "scenes/scene_table.h"

namespace pelmot::story {
namespace {

Op Make(OpKind kind, int a = 0, int b = 0) {
  Op op;
  op.kind = kind;
  op.a = a;
  op.b = b;
  return op;
}

Op LineSlot() { return Make(OpKind::Line); }

ConditionSet ConditionsFrom(const char* text) {
  std::vector<int> values = NumberList(text);
  if (values.empty()) return ConditionSet::Any();
  unsigned bits = 0;
  for (int v : values) {
    if (v > 7) throw std::logic_error(std::string("Condition values are 0 ... 7: ") + text);
    bits |= 1u << v;
  }
  return ConditionSet::FromBits(static_cast<std::uint8_t>(bits));
}

Family FamilyOf(int number) {
  auto label = SceneProcedure(number);
  if (!label) throw std::logic_error("scene " + std::to_string(number) + " has no procedure");
  switch (label->module) {
    case SceneModule::ZEMEV: return Family::Prologue;
    case SceneModule::EV2: return Family::Day;
    case SceneModule::EV3: break;
  }
  return Family::Event;
}

Lane MakeLane(LaneKey key, int first, int last) {
  Lane lane;
  lane.key = key;
  lane.first = first;
  lane.steps.assign(static_cast<std::size_t>(last - first + 1), Step{{LineSlot()}});
  return lane;
}

// A step that only shows a line from the scenario.
bool IsPlainLine(const Step& step) {
  return step.ops.size() == 1 && step.ops[0].kind == OpKind::Line && !step.ops[0].fixedText;
}

}  // namespace

Op P(int index, int amount) { return Make(OpKind::AddParam, index, amount); }
Op C(int value) { return Make(OpKind::SetCondition, value); }
Op Day(int value) { return Make(OpKind::SetDay, value); }
Op Next() { return Make(OpKind::Advance); }
Op JumpTo(int step) { return Make(OpKind::Jump, step); }
Op Go(int scene) { return Make(OpKind::GoToScene, scene); }
Op GameOverOp() { return Make(OpKind::GameOver); }
Op EndingOp(int ending) { return Make(OpKind::Ending, ending); }
Op SelectEndingOp() { return Make(OpKind::SelectEnding); }

BranchCase When(int pick, std::vector<Op> ops) { return {pick, ConditionSet::Any(), std::move(ops)}; }

BranchCase When(int pick, const char* conditions, std::vector<Op> ops) {
  return {pick, ConditionsFrom(conditions), std::move(ops)};
}

Op Branch(std::vector<BranchCase> cases) {
  Op op = Make(OpKind::Branch);
  op.cases = std::move(cases);
  return op;
}

std::vector<int> NumberList(const char* text) {
  std::vector<int> numbers;
  std::string s(text);
  std::size_t i = 0;
  auto number = [&]() {
    while (i < s.size() && s[i] == ' ') ++i;
    if (i >= s.size() || !std::isdigit(static_cast<unsigned char>(s[i])))
      throw std::logic_error("malformed number list \"" + s + "\"");
    int v = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) v = 10 * v + (s[i++] - '0');
    while (i < s.size() && s[i] == ' ') ++i;
    return v;
  };
  while (true) {
    while (i < s.size() && s[i] == ' ') ++i;
    if (i >= s.size()) break;
    int from = number(), to = from;
    if (i < s.size() && s[i] == '-') {
      ++i;
      to = number();
    }
    for (int v = from; v <= to; ++v) numbers.push_back(v);
    if (i < s.size() && s[i] == ',')
      ++i;
    else if (i < s.size())
      throw std::logic_error("malformed number list \"" + s + "\"");
  }
  return numbers;
}

LaneLayout Single(int last) { return {LaneRule::Single, {{0, last}}}; }

LaneLayout ByPick(int sharedLast, int pick0Last, int pick1Last) {
  return {LaneRule::ByPick, {{0, sharedLast}, {0, pick0Last}, {1, pick1Last}}};
}

LaneLayout ByCondition(std::vector<std::pair<int, int>> conditionAndLast) {
  return {LaneRule::ByCondition, std::move(conditionAndLast)};
}

SceneBuilder::SceneBuilder(int number, const LaneLayout& layout) {
  scene_.number = number;
  scene_.family = FamilyOf(number);
  scene_.rule = layout.rule;
  switch (layout.rule) {
    case LaneRule::Single: scene_.lanes.push_back(MakeLane({}, 0, layout.ranges.at(0).second)); break;
    case LaneRule::ByCondition:
      for (auto [condition, last] : layout.ranges)
        scene_.lanes.push_back(MakeLane({LaneRule::ByCondition, ConditionSet::Of({condition})}, 0, last));
      break;
    case LaneRule::ByPick: {
      const int shared = layout.ranges.at(0).second;
      scene_.lanes.push_back(MakeLane({LaneRule::ByPick, ConditionSet::Any(), kAnyPick}, 0, shared));
      for (int pick = 0; pick < 2; ++pick)
        scene_.lanes.push_back(
            MakeLane({LaneRule::ByPick, ConditionSet::Any(), pick}, shared + 1, layout.ranges.at(1 + pick).second));
      break;
    }
  }
}

void SceneBuilder::Fault(const std::string& what) const {
  throw std::logic_error("scene " + std::to_string(scene_.number) + ": " + what);
}

std::vector<Lane*> SceneBuilder::LanesFor(Lanes lanes) {
  std::vector<Lane*> found;
  for (Lane& lane : scene_.lanes) {
    const bool wanted =
        lanes.kind == Lanes::Kind::Every ||
        (lanes.kind == Lanes::Kind::PickLane && lane.key.rule == LaneRule::ByPick && lane.key.pick == lanes.value) ||
        (lanes.kind == Lanes::Kind::ConditionLane && lane.key.rule == LaneRule::ByCondition &&
         lane.key.conditions.Holds(lanes.value));
    if (wanted) found.push_back(&lane);
  }
  if (found.empty()) Fault("no such lane");
  return found;
}

std::vector<Step*> SceneBuilder::StepsFor(Lanes lanes, int step) {
  std::vector<Step*> steps;
  for (Lane* lane : LanesFor(lanes))
    if (Step* s = lane->At(step)) steps.push_back(s);
  if (steps.empty()) Fault("no lane holds step " + std::to_string(step));
  return steps;
}

SceneBuilder& SceneBuilder::Shows(const char* pictures, const char* backgrounds) {
  scene_.pictures = NumberList(pictures);
  scene_.backgrounds = NumberList(backgrounds);
  return *this;
}

SceneBuilder& SceneBuilder::Receives(const char* conditions) {
  scene_.receives = NumberList(conditions);
  return *this;
}

SceneBuilder& SceneBuilder::PictureStep() {
  for (Step* s : StepsFor(kEvery, 0)) s->ops = {Make(OpKind::Picture, kPictureStepPicture)};
  return *this;
}

SceneBuilder& SceneBuilder::Choice(Lanes lanes, int step, int options) {
  Op op = Make(OpKind::Choice);
  op.optionSets.push_back({ConditionSet::Any(), options, {}});
  return At(lanes, step, {op});
}

SceneBuilder& SceneBuilder::ChoiceByCondition(int step, std::vector<std::pair<int, int>> optionsByCondition) {
  Op op = Make(OpKind::Choice);
  for (auto [condition, options] : optionsByCondition)
    op.optionSets.push_back({ConditionSet::Of({condition}), options, {}});
  return At(kEvery, step, {op});
}

SceneBuilder& SceneBuilder::OnPick(int step, std::vector<Op> pick0, std::vector<Op> pick1) {
  if (scene_.rule == LaneRule::ByPick) {
    if (step != scene_.SharedChoiceStep() + 1) Fault("a pick lane's update step is its first");
    At(InPick(0), step, std::move(pick0));
    return At(InPick(1), step, std::move(pick1));
  }
  return Branch(step, {When(0, std::move(pick0)), When(1, std::move(pick1))});
}

SceneBuilder& SceneBuilder::At(Lanes lanes, int step, std::vector<Op> ops) {
  for (std::size_t i = 0; i + 1 < ops.size(); ++i)
    if (ops[i].HandsOn()) Fault("a hand-on operation must end its step");
  for (Step* s : StepsFor(lanes, step)) s->ops = ops;
  return *this;
}

SceneBuilder& SceneBuilder::Branch(int step, std::vector<BranchCase> cases) {
  return Branch(kEvery, step, std::move(cases));
}

SceneBuilder& SceneBuilder::Branch(Lanes lanes, int step, std::vector<BranchCase> cases) {
  return At(lanes, step, {story::Branch(std::move(cases))});
}

SceneBuilder& SceneBuilder::FixedLine(int step, const std::string& text) {
  Op op = Make(OpKind::Line);
  op.text = text;
  op.fixedText = true;
  return At(kEvery, step, {op});
}

SceneBuilder& SceneBuilder::Empty(Lanes lanes, int step) { return At(lanes, step, {}); }

SceneBuilder& SceneBuilder::SkipRunsIntoChoice(Lanes lanes) {
  for (Lane* lane : LanesFor(lanes)) runsIntoChoice_.push_back(lane - scene_.lanes.data());
  return *this;
}

SceneBuilder& SceneBuilder::PictureAfterLine(int step) { return At(kEvery, step, {LineSlot(), Make(OpKind::Picture)}); }

SceneScript SceneBuilder::Finish() const {
  SceneScript scene = scene_;
  for (std::size_t l = 0; l < scene.lanes.size(); ++l) {
    Lane& lane = scene.lanes[l];
    const auto lane_index = static_cast<std::ptrdiff_t>(l);
    if (std::find(runsIntoChoice_.begin(), runsIntoChoice_.end(), lane_index) != runsIntoChoice_.end()) continue;
    for (int step = lane.first + 1; step <= lane.Last(); ++step) {
      if (!lane.At(step)->IsChoice()) continue;
      // The question is the last line before the choice; an empty step may
      // stand between them (scene 20 with Condition 6).
      int question = step - 1;
      while (question > lane.first && lane.At(question)->IsEmpty()) --question;
      Step* before = lane.At(question);
      if (IsPlainLine(*before)) before->ops.push_back(Make(OpKind::StopSkip));
    }
  }
  return scene;
}

SceneBuilder& StoryBuilder::Scene(int number, const LaneLayout& layout) {
  scenes_.push_back(std::make_unique<SceneBuilder>(number, layout));
  return *scenes_.back();
}

SceneBuilder& StoryBuilder::EndingScene(int number, int last, bool pictureStep) {
  SceneBuilder& scene = Scene(number, Single(last));
  if (pictureStep) scene.PictureStep();
  return scene.FixedLine(last - 1, Ui(UiText::story_end_mark)).At(last, {EndingOp(number - 150)});
}

Story StoryBuilder::Build() const {
  Story story;
  for (const auto& scene : scenes_) story.Add(scene->Finish());
  return story;
}

}  // namespace pelmot::story
