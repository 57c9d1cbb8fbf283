#include "app/live_reload.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "app/game_host.h"
#include "comforts/content_problem.h"
#include "comforts/history.h"
#include "comforts/comfort_state.h"
#include "comforts/language.h"
#include "game/game.h"
#include "present/system_pictures.h"
#include "scenes/content_check.h"
#include "scenes/story_runner.h"
#include "scenes/story_structure.h"

namespace pelmot {
namespace {

constexpr std::string_view kScenePictures = "PELMOTPIC/";
constexpr std::string_view kSystemPictures = "SYSPIC/";

// The number of "FOLDER/N.png" in `folder`, if the file is one.
std::optional<int> PictureIn(const std::string& file, std::string_view folder) {
  if (!file.starts_with(folder) || !file.ends_with(".png")) return std::nullopt;
  const std::string_view digits = std::string_view(file).substr(folder.size(), file.size() - folder.size() - 4);
  int number = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return number;
}

void CollectOriginals(const std::vector<Op>& ops, std::map<std::string, std::string>& originals) {
  for (const Op& op : ops) {
    if (op.kind == OpKind::Line && !op.textId.empty()) originals[op.textId] = op.text;
    for (const OptionSet& set : op.optionSets)
      for (std::size_t i = 0; i < set.options.size() && i < set.ids.size(); ++i) originals[set.ids[i]] = set.options[i];
    for (const BranchCase& branch : op.cases) CollectOriginals(branch.ops, originals);
  }
}

// Every line's and option's words by text ID, as the story now has them.
std::map<std::string, std::string> OriginalsOf(const Game& game) {
  std::map<std::string, std::string> originals;
  if (const Story* story = PlayedStory(game))
    for (const SceneScript& scene : story->Scenes())
      for (const Lane& lane : scene.lanes)
        for (const Step& step : lane.steps) CollectOriginals(step.ops, originals);
  return originals;
}

// Reads the scenario again; false when it has problems (the first shows in
// the author's strip and the story playing stays).
bool ReloadScenario(Game& game) {
  std::string error;
  LoadedScenario loaded;
  const std::string path = (game.paths.content.empty() ? std::string(".") : game.paths.content) + "/" + kScenarioFileName;
  if (auto text = game.services.files.ReadWhole(path, kMaxScenarioBytes, error))
    loaded = LoadScenarioText(*text, kScenarioFileName, StoryStructure());
  else
    loaded.problems.push_back("cannot read the scenario file " + error);
  if (!loaded.problems.empty()) {
    ShowContentProblem(game, loaded.problems.front());
    return false;
  }
  ClearContentProblem(game);
  InstallStoryContent(game, loaded.content);
  return true;
}

// Whether the picture in MainWork or a system picture in use changed: the
// next drawing loads them again.
bool ForgetChangedPictures(Game& game, const ContentChanges& changes) {
  bool changed = false;
  const auto numbers = [&](std::string_view folder) {
    std::vector<int> found;
    for (const std::string& file : changes.files)
      if (auto n = PictureIn(file, folder)) found.push_back(*n);
    return found;
  };
  const std::vector<int> scene = numbers(kScenePictures);
  if (game.mainWorkPicture != kNoPicture &&
      (changes.everything || std::find(scene.begin(), scene.end(), game.mainWorkPicture) != scene.end())) {
    game.mainWorkPicture = kNoPicture;
    changed = true;
  }
  std::vector<int> system = numbers(kSystemPictures);
  if (changes.everything) system = {kDimmingMask, kStatusSheet};
  for (int index : system) {
    if (index < 0 || index >= static_cast<int>(game.state.SysPic.size())) continue;
    if (game.state.SysPic[index].Width() == 0) continue;  // loads when first used
    LoadSystemPicture(game, index);  // leaves MainWork cleared
    game.mainWorkPicture = kNoPicture;
    changed = true;
  }
  return changed;
}

}  // namespace

std::vector<std::string> WatchedContentFolders() {
  return {"", std::string(kScenePictures.substr(0, kScenePictures.size() - 1)),
          std::string(kSystemPictures.substr(0, kSystemPictures.size() - 1))};
}

bool ReloadContent(GameHost& host, const ContentChanges& changes) {
  Game& game = host.game();
  ComfortState& comforts = host.comforts().State();
  const std::optional<std::string> problemBefore = ContentProblemText(game);
  bool redraw = false;
  if (changes.Names(kScenarioFileName) && ReloadScenario(game)) {
    comforts.history.RenewOriginals(game, OriginalsOf(game));
    redraw = true;
  }
  // Pictures are drawn again only where the history can draw the page anew.
  const bool pageKnown = InScenePlay(game) && comforts.history.Current() >= 0;
  if (pageKnown && ForgetChangedPictures(game, changes)) redraw = true;
  if (redraw) ShowAgainInLanguage(game, comforts);
  return redraw || ContentProblemText(game) != problemBefore;
}

}  // namespace pelmot
