#include "scenes/op_walk.h"

namespace pelmot {

LaneStep StepToRun(const SceneScript& scene, int step, int condition, int lastChoice) {
  const Lane* lane = scene.ServingLane(step, condition, lastChoice);
  const Step* found = lane ? lane->At(step) : nullptr;
  return found ? LaneStep{lane, found} : LaneStep{};
}

bool TakesPick(const SceneScript& scene, int step, int condition) {
  return scene.LaneOfChoiceBefore(step, condition) != nullptr;
}

const OptionSet* OptionsFor(const Op& choice, int condition) {
  for (const OptionSet& set : choice.optionSets)
    if (set.conditions.Holds(condition)) return &set;
  return nullptr;
}

const BranchCase* CaseFor(const Op& branch, int lastChoice, int condition) {
  for (const BranchCase& c : branch.cases)
    if (c.Holds(lastChoice, condition)) return &c;
  return nullptr;
}

}  // namespace pelmot
