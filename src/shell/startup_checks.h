// What start-up finds wrong with the folders and the font it was given,
// said to the player in a message box and on standard error.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace pelmot {

class Dialogs;
class Files;

struct StartUpProblem {
  std::string forPlayer;    // the message box's text
  std::string forTerminal;  // one line for standard error
};

// A --content folder that does not exist: the game cannot start.
std::optional<StartUpProblem> MissingContentFolder(Files& files, const std::string& contentDir);

// A data folder (below the data root) that cannot hold the save files: the
// game still plays, but nothing it saves would be kept.
std::optional<StartUpProblem> UnusableDataFolder(Files& files, const std::string& dataRoot);

// No font for the window's text: every character is drawn as a block.
// `why` is the font lookup's own account.
StartUpProblem NoFont(const std::string& why);

// The message box shows `problem`, and standard error gets its line.
void TellProblem(const StartUpProblem& problem, Dialogs& dialogs, std::ostream& err);

}  // namespace pelmot
