// Reading the scenario file: one entry per line, a header naming the scene,
// lane and step, then "|" and the line, or ">" and the options:
//
//   12 s5 pic=46 | 夕方の教室。
//   20 C6 s3 bg=4 | 放課後。
//   10 s4 C0 > 学校へ行く | 家にいる | 寄り道する
//   greeting 115 | お久しぶりです。
//
// This file only reads the syntax; content_check.h checks the entries
// against the story's structure.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scenes/scene_model.h"

namespace pelmot {

struct ScenarioEntry {
  enum class Kind { Line, Choice, Greeting };
  Kind kind = Kind::Line;
  int line = 0;  // line number in the file, from 1
  int scene = -1;
  int step = -1;
  int pick = kAnyPick;                     // "p0", "p1"
  std::optional<ConditionSet> conditions;  // "C6", "C0,3"
  std::optional<int> picture;              // "pic=N"
  std::optional<int> background;           // "bg=K"
  int greeting = 0;                        // "greeting N"
  std::string text;                        // Line, Greeting
  std::vector<std::string> options;        // Choice
};

struct ScenarioProblem {
  int line = 0;
  std::string message;
};

struct ParsedScenario {
  std::vector<ScenarioEntry> entries;
  std::vector<ScenarioProblem> problems;
  int lineCount = 0;
};

ParsedScenario ParseScenario(std::string_view text);

// True when `text` is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

}  // namespace pelmot
