#include "scenes/content.h"

namespace pelmot {

const StepWords* Content::Step(int scene, int lane, int step) const {
  auto it = steps_.find({scene, lane, step});
  return it == steps_.end() ? nullptr : &it->second;
}

const Options* Content::ChoiceOptions(int scene, int lane, int step, int condition) const {
  auto it = options_.find({scene, lane, step});
  if (it == options_.end()) return nullptr;
  for (const auto& [conditions, options] : it->second)
    if (conditions.Holds(condition)) return &options;
  return nullptr;
}

const std::string& Content::GreetingLine(int picture) const {
  static const std::string kNone;
  if (picture < kFirstGreetingPicture || picture > kLastGreetingPicture) return kNone;
  return greetings_[picture - kFirstGreetingPicture];
}

void Content::SetStep(int scene, int lane, int step, StepWords words) {
  steps_[{scene, lane, step}] = std::move(words);
}

void Content::SetOptions(int scene, int lane, int step, ConditionSet conditions, Options options) {
  options_[{scene, lane, step}].emplace_back(conditions, std::move(options));
}

void Content::SetGreeting(int picture, std::string line) {
  if (picture < kFirstGreetingPicture || picture > kLastGreetingPicture) return;
  greetings_[picture - kFirstGreetingPicture] = std::move(line);
}

}  // namespace pelmot
