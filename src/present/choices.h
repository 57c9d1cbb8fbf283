// Choices: options written as rows under the text already on the page.
#pragma once

#include <array>
#include <string>

namespace pelmot {

class Game;

using Options = std::array<std::string, 5>;
// The options' IDs for their translations ("" for none).
using OptionIds = std::array<std::string, 5>;

// In the message window; the flow waits in kModeChoice.
void ShowChoice(Game& game, const Options& options, const OptionIds& ids = {});
// On the full-screen page; scene play goes on in kModeScene.
void ShowChoice2(Game& game, const Options& options, const OptionIds& ids = {});
// Skipping stops.
void StopSkip(Game& game);

}  // namespace pelmot
