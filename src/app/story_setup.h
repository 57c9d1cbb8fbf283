// Putting the story into a game: the scene interpreter and the scenario's
// words from the content folder; and the content check of the command line.
#pragma once

#include <iosfwd>
#include <string>

namespace pelmot {

class Files;
class Game;

// The scenario file of a content folder.
std::string ScenarioPath(const std::string& contentDir);

// Loads the content folder's scenario and installs the story's scenes.
// On a malformed scenario writes every problem to `err` and returns false.
bool InstallStory(Game& game, std::ostream& err);

// `pelmot --check-content [DIR]`: 0 when the scenario is sound, 1 with the
// list of problems on `err`.
int CheckContent(Files& files, const std::string& contentDir, std::ostream& out, std::ostream& err);

}  // namespace pelmot
