// The scenario's words, loaded from the content folder: the line of every
// line step with the picture and background it shows, the options of every
// choice step (by Condition where the story asks for it), and the fifteen
// greeting lines of the title.
#pragma once

#include <array>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "present/choices.h"
#include "scenes/scene_model.h"

namespace pelmot {

// The scenario file in the content folder.
inline constexpr const char* kScenarioFileName = "scenario.txt";

inline constexpr int kNoBackground = -1;

struct StepWords {
  std::string line;                // empty for a step whose line is fixed
  int picture = 0;                 // 0: none
  int background = kNoBackground;  // none
};

inline constexpr int kFirstGreetingPicture = 115;
inline constexpr int kLastGreetingPicture = 129;

class Content {
 public:
  // `lane` is the lane's position in its scene (SceneScript::lanes).
  const StepWords* Step(int scene, int lane, int step) const;
  // The options of a choice step for a Condition; nothing when none given.
  const Options* ChoiceOptions(int scene, int lane, int step, int condition) const;
  // The line of greeting picture 115 ... 129; "" for any other number.
  const std::string& GreetingLine(int picture) const;

  void SetStep(int scene, int lane, int step, StepWords words);
  void SetOptions(int scene, int lane, int step, ConditionSet conditions, Options options);
  void SetGreeting(int picture, std::string line);

 private:
  using Key = std::tuple<int, int, int>;
  std::map<Key, StepWords> steps_;
  std::map<Key, std::vector<std::pair<ConditionSet, Options>>> options_;
  std::array<std::string, kLastGreetingPicture - kFirstGreetingPicture + 1> greetings_{};
};

}  // namespace pelmot
