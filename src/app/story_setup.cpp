#include "app/story_setup.h"

#include <algorithm>
#include <climits>
#include <set>
#include <ostream>

#include "app/language_check.h"
#include "game/game.h"
#include "platform/content_watch.h"
#include "scenes/content_check.h"
#include "scenes/story_runner.h"
#include "scenes/story_structure.h"
#include "storymap/story_map.h"

namespace pelmot {

std::string ScenarioPath(const std::string& contentDir) {
  return (contentDir.empty() ? std::string(".") : contentDir) + "/" + kScenarioFileName;
}

namespace {

void ListProblems(const LoadedScenario& loaded, std::ostream& err) {
  for (const std::string& problem : loaded.problems) err << problem << "\n";
}

// The lines and options no play can show, found by walking every play.
void ListUnshownEntries(Files& files, const std::string& path, std::ostream& err) {
  std::string error;
  const std::string text = files.ReadWhole(path, kMaxScenarioBytes, error).value_or("");
  const storymap::ShownSteps reached = storymap::ReachableSteps(StoryStructure());
  auto shown = [&](int scene, int lane, int step, int condition) {
    if (reached.lines.count({scene, lane, step})) return true;
    for (auto it = reached.options.lower_bound({scene, lane, step, INT_MIN});
         it != reached.options.end() && std::get<0>(*it) == scene && std::get<1>(*it) == lane &&
         std::get<2>(*it) == step;
         ++it)
      if (condition < 0 || std::get<3>(*it) == condition) return true;
    return false;
  };
  for (const std::string& warning : UnshownEntryWarnings(text, path, StoryStructure(), shown)) err << warning << "\n";
}

}  // namespace

bool InstallStory(Game& game, std::ostream& err) {
  LoadedScenario loaded = LoadScenarioFile(game.services.files, ScenarioPath(game.paths.content), StoryStructure());
  if (!loaded.problems.empty()) {
    ListProblems(loaded, err);
    err << "pelmot: the scenario has " << loaded.problems.size()
        << " problem(s); the game does not start (pelmot --check-content lists them too)\n";
    return false;
  }
  InstallStoryContent(game, loaded.content);
  return true;
}

namespace {

// A problem without its line ("FILE:LINE: why" without "LINE: "), so that
// one moved by an edit above it is still the same problem.
std::string WithoutLine(const std::string& problem, const std::string& path) {
  if (!problem.starts_with(path + ":")) return problem;
  const std::size_t after = problem.find(": ", path.size() + 1);
  return after == std::string::npos ? problem : path + problem.substr(after);
}

using ProblemSet = std::multiset<std::string>;

// Prints each problem of `these` that `others` lacks (lines aside, each
// counted once) after `label`; true when there was any.
bool PrintUnmatched(const std::vector<std::string>& these, const std::vector<std::string>& others,
                    const std::string& path, const char* label, std::ostream& out) {
  ProblemSet unmatched;
  for (const std::string& p : others) unmatched.insert(WithoutLine(p, path));
  bool printed = false;
  for (const std::string& p : these) {
    if (const auto found = unmatched.find(WithoutLine(p, path)); found != unmatched.end()) {
      unmatched.erase(found);
      continue;
    }
    out << label << p << "\n";
    printed = true;
  }
  return printed;
}

// The problems of `now` not in `before` as new, those of `before` not in
// `now` as mended; true when there was any.
bool PrintChanges(const std::vector<std::string>& now, const std::vector<std::string>& before, const std::string& path,
                  std::ostream& out) {
  const bool added = PrintUnmatched(now, before, path, "new: ", out);
  return PrintUnmatched(before, now, path, "mended: ", out) || added;
}

}  // namespace

int WatchContentChecks(Files& files, const std::string& contentDir, ContentWatch& watch, std::ostream& out) {
  const std::string path = ScenarioPath(contentDir);
  std::vector<std::string> before;
  bool first = true;
  for (;;) {
    const std::vector<std::string> now = LoadScenarioFile(files, path, StoryStructure()).problems;
    if (PrintChanges(now, before, path, out) || first) {
      if (now.empty())
        out << path << ": no problems\n";
      else
        out << now.size() << " problem(s) in " << path << "\n";
      out.flush();
    }
    before = now;
    first = false;
    do {
      if (!watch.Wait()) return 0;
    } while (!watch.Take().Names(kScenarioFileName));
  }
}

int CheckContent(Files& files, const std::string& contentDir, std::ostream& out, std::ostream& err, Catalogs* catalogs,
                 TextEngine* measure) {
  const std::string path = ScenarioPath(contentDir);
  LoadedScenario loaded = LoadScenarioFile(files, path, StoryStructure());
  if (!loaded.problems.empty()) {
    ListProblems(loaded, err);
    err << "pelmot: " << loaded.problems.size() << " problem(s) in " << path << "\n";
    return 1;
  }
  ListUnshownEntries(files, path, err);
  out << path << ": no problems\n";
  if (catalogs) {
    std::string error;
    const std::string text = files.ReadWhole(path, kMaxScenarioBytes, error).value_or("");
    CheckLanguages(MakeTextTemplate(text, path, StoryStructure()), *catalogs, measure, contentDir, out, err);
  }
  return 0;
}

}  // namespace pelmot
