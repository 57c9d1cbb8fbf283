#include "scenes/compose_story.h"

namespace pelmot {
namespace {

Op Picture(int number) {
  Op op;
  op.kind = OpKind::Picture;
  op.a = number;
  return op;
}

Op Background(int number) {
  Op op;
  op.kind = OpKind::Background;
  op.a = number;
  return op;
}

void FillChoice(Op& choice, const Content& content, int scene, int lane, int step) {
  for (OptionSet& set : choice.optionSets) {
    int condition = -1;  // a set for every Condition is stored for every Condition
    for (int c = 0; c <= 7 && !set.conditions.IsAny(); ++c)
      if (set.conditions.Holds(c)) {
        condition = c;
        break;
      }
    if (const Options* options = content.ChoiceOptions(scene, lane, step, condition)) set.options = *options;
  }
}

// [picture] [background] line, or line then picture where the structure
// leaves a picture slot after the line.
std::vector<Op> FillLineStep(const std::vector<Op>& ops, const StepWords* words) {
  std::vector<Op> out;
  const bool pictureAfterLine = [&] {
    for (const Op& op : ops)
      if (op.kind == OpKind::Picture && op.a == 0) return true;
    return false;
  }();
  for (const Op& op : ops) {
    if (op.kind == OpKind::Picture && op.a == 0) {
      if (words && words->picture) out.push_back(Picture(words->picture));
      continue;
    }
    if (op.kind == OpKind::Line && words) {
      if (words->picture && !pictureAfterLine) out.push_back(Picture(words->picture));
      if (words->background != kNoBackground) out.push_back(Background(words->background));
      Op line = op;
      if (!op.fixedText) line.text = words->line;
      out.push_back(std::move(line));
      continue;
    }
    out.push_back(op);
  }
  return out;
}

}  // namespace

Story ComposeStory(const Story& structure, const Content& content) {
  Story story = structure;
  for (SceneScript& scene : story.Scenes()) {
    for (int l = 0; l < static_cast<int>(scene.lanes.size()); ++l) {
      Lane& lane = scene.lanes[l];
      for (int s = lane.first; s <= lane.Last(); ++s) {
        Step& step = *lane.At(s);
        switch (SlotOf(step)) {
          case StepSlot::Line:
          case StepSlot::FixedLine: step.ops = FillLineStep(step.ops, content.Step(scene.number, l, s)); break;
          case StepSlot::Choice:
            for (Op& op : step.ops)
              if (op.kind == OpKind::Choice) FillChoice(op, content, scene.number, l, s);
            break;
          case StepSlot::None: break;
        }
      }
    }
  }
  return story;
}

}  // namespace pelmot
