#include "shell/story_setup.h"

#include <ostream>

#include "flow/game.h"
#include "scenes/content_check.h"
#include "scenes/story_runner.h"
#include "scenes/story_structure.h"

namespace pelmot {

std::string ScenarioPath(const std::string& contentDir) {
  return (contentDir.empty() ? std::string(".") : contentDir) + "/" + kScenarioFileName;
}

namespace {

void ListProblems(const LoadedScenario& loaded, std::ostream& err) {
  for (const std::string& problem : loaded.problems) err << problem << "\n";
}

}  // namespace

bool InstallStory(Game& game, std::ostream& err) {
  LoadedScenario loaded = LoadScenarioFile(ScenarioPath(game.paths.content), StoryStructure());
  if (!loaded.problems.empty()) {
    ListProblems(loaded, err);
    err << "pelmot: the scenario has " << loaded.problems.size()
        << " problem(s); the game does not start (pelmot --check-content lists them too)\n";
    return false;
  }
  InstallStoryContent(game, loaded.content);
  return true;
}

int CheckContent(const std::string& contentDir, std::ostream& out, std::ostream& err) {
  const std::string path = ScenarioPath(contentDir);
  LoadedScenario loaded = LoadScenarioFile(path, StoryStructure());
  if (!loaded.problems.empty()) {
    ListProblems(loaded, err);
    err << loaded.problems.size() << " problem(s) in " << path << "\n";
    return 1;
  }
  out << path << ": no problems\n";
  return 0;
}

}  // namespace pelmot
