#include "scenes/compose_story.h"

#include "platform/ui_text.h"
#include "scenes/text_ids.h"

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

// A fixed line's words are the interface's: its ID is their name.
std::string FixedLineId(const std::string& text) {
  for (const UiTextEntry& e : UiTexts())
    if (e.text == text) return UiTextId(e.name);
  return {};
}

void FillChoice(Op& choice, const Content& content, int scene, const Lane& lane, int laneIndex, int step) {
  for (OptionSet& set : choice.optionSets) {
    for (int i = 0; i < static_cast<int>(set.ids.size()); ++i)
      set.ids[i] = OptionTextId(scene, lane.key, step, set.conditions, i + 1);
    int condition = -1;  // a set for every Condition is stored for every Condition
    for (int c = 0; c <= 7 && !set.conditions.IsAny(); ++c)
      if (set.conditions.Holds(c)) {
        condition = c;
        break;
      }
    if (const Options* options = content.ChoiceOptions(scene, laneIndex, step, condition)) set.options = *options;
  }
}

// [picture] [background] line, or line then picture where the structure
// leaves a picture slot after the line.
std::vector<Op> FillLineStep(const std::vector<Op>& ops, const StepWords* words, const std::string& id) {
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
      line.textId = op.fixedText ? FixedLineId(line.text) : id;
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
          case StepSlot::FixedLine:
            step.ops = FillLineStep(step.ops, content.Step(scene.number, l, s), LineTextId(scene.number, lane.key, s));
            break;
          case StepSlot::Choice:
            for (Op& op : step.ops)
              if (op.kind == OpKind::Choice) FillChoice(op, content, scene.number, lane, l, s);
            break;
          case StepSlot::None: break;
        }
      }
    }
  }
  return story;
}

}  // namespace pelmot
