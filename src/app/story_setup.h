// Putting the story into a game: the scene interpreter and the scenario's
// words from the content folder; and the content check of the command line.
#pragma once

#include <iosfwd>
#include <string>

namespace pelmot {

class Catalogs;
class ContentWatch;
class Files;
class Game;
class TextEngine;

// The scenario file of a content folder.
std::string ScenarioPath(const std::string& contentDir);

// Loads the content folder's scenario and installs the story's scenes.
// On a malformed scenario writes every problem to `err` and returns false.
bool InstallStory(Game& game, std::ostream& err);

// `pelmot --check-content [DIR]`: 0 when the scenario is sound, 1 with the
// list of problems on `err`. With `catalogs`, each language's catalog is
// checked too (language_check.h), its rows measured with `measure`; what
// that finds are warnings, which leave the result as it is.
int CheckContent(Files& files, const std::string& contentDir, std::ostream& out, std::ostream& err,
                 Catalogs* catalogs = nullptr, TextEngine* measure = nullptr);

// `pelmot --check-content DIR --watch`: the problems of the scenario, then
// after every change of it only what changed: "new: PROBLEM" and "mended:
// PROBLEM" lines (a problem that only moved to another line is neither),
// and the count. Returns when the watch ends.
int WatchContentChecks(Files& files, const std::string& contentDir, ContentWatch& watch, std::ostream& out);

}  // namespace pelmot
