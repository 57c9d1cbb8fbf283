// Checking the scenario against the story's structure: every problem is
// found, not just the first, each with the line it belongs to.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "scenes/content.h"
#include "scenes/scenario_parser.h"
#include "scenes/scene_model.h"

namespace pelmot {

class Files;

struct ScenarioCheck {
  std::shared_ptr<Content> content;       // what the sound entries give
  std::vector<ScenarioProblem> problems;  // in line order; empty: all is well
};

ScenarioCheck CheckScenario(const ParsedScenario& parsed, const Story& structure);

// "FILE:LINE: message".
std::string FormatProblem(const std::string& file, const ScenarioProblem& problem);

struct LoadedScenario {
  std::shared_ptr<const Content> content;
  std::vector<std::string> problems;  // formatted; empty: all is well
};

// Reads the scenario file, parses and checks it.
LoadedScenario LoadScenarioText(const std::string& text, const std::string& fileName, const Story& structure);
LoadedScenario LoadScenarioFile(Files& files, const std::string& path, const Story& structure);

// The lane of `scene` that an entry of a sound scenario names.
int EntryLane(const ScenarioEntry& e, const SceneScript& scene);
// The Condition set an entry's options are known by: the one it names,
// unless that named the lane (a scene with lanes by Condition).
ConditionSet EntryOptionConditions(const ScenarioEntry& e, const SceneScript& scene);

// Whether some play shows a step's line, or a choice step's options with
// Condition `condition` (-1: with any Condition).
using ShownTest = std::function<bool(int scene, int lane, int step, int condition)>;

// "FILE:LINE: warning: ..." for every line and option set of a sound
// scenario that no play ever shows. Words there are wasted, not wrong.
std::vector<std::string> UnshownEntryWarnings(const std::string& text, const std::string& fileName,
                                              const Story& structure, const ShownTest& shown);

}  // namespace pelmot
