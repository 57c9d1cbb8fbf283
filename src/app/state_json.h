// The game state as JSON, for the script runner's `state` and `expect`.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pelmot {

class GameHost;

// Every field by name with its value as JSON text, in a fixed order.
// Arrays are given whole ("StepNo") and element by element ("StepNo[1]").
// The last field, LastMessage, is the text of the last message box shown
// (null before the first).
std::vector<std::pair<std::string, std::string>> StateFields(
    const GameHost& host, const std::optional<std::string>& lastMessage = std::nullopt);

// One JSON object on one line: the top-level fields only.
std::string StateJson(const GameHost& host, const std::optional<std::string>& lastMessage = std::nullopt);

std::string JsonString(const std::string& utf8);

}  // namespace pelmot
