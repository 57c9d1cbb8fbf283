// The game state as JSON, for the script runner's `state` and `expect`.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace pelmot {

class Game;

// Every field by name with its value as JSON text, in a fixed order.
// Arrays are given whole ("StepNo") and element by element ("StepNo[1]").
std::vector<std::pair<std::string, std::string>> StateFields(const Game& game);

// One JSON object on one line: the top-level fields only.
std::string StateJson(const Game& game);

std::string JsonString(const std::string& utf8);

}  // namespace pelmot
