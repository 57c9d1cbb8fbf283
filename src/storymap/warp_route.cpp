#include "storymap/warp_route.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "scenes/op_walk.h"
#include "storymap/route_count.h"
#include "storymap/story_map.h"

namespace pelmot::storymap {
namespace {

// More picks than any scene asks for.
constexpr int kMostPicksInScene = 3;
// More scene changes than a walk between two choices passes.
constexpr int kMostScenesBetweenChoices = 200;

bool IsNumber(const std::string& word) {
  return !word.empty() && word.size() <= 4 &&
         std::all_of(word.begin(), word.end(), [](unsigned char c) { return std::isdigit(c); });
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  for (char c : text + ":") {
    if (c == ':' || c == ' ' || c == '\t') {
      if (!word.empty() || c == ':') words.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  // "12 p0 s33" leaves no empty words; "0::s5" keeps its empty lane.
  if (!words.empty() && words.back().empty()) words.pop_back();
  return words;
}

std::string LaneNames(const SceneScript& scene) {
  std::string names;
  for (const Lane& lane : scene.lanes)
    if (!lane.key.Name().empty()) names += (names.empty() ? "" : ", ") + lane.key.Name();
  return names;
}

// The lane named `name` that holds `step`; "" names the scene's only lane,
// or the shared lane of a scene whose lanes follow its pick.
int FindLane(const SceneScript& scene, const std::string& name, int step) {
  for (std::size_t i = 0; i < scene.lanes.size(); ++i) {
    const Lane& lane = scene.lanes[i];
    if (lane.key.Name() == name && lane.Has(step)) return static_cast<int>(i);
  }
  return -1;
}

// Runs on through scene changes to the next choice or the story's end.
WalkStop RunToChoice(StoryWalker& walker, WalkState& s, WalkStop stop) {
  for (int n = 0; n < kMostScenesBetweenChoices && stop.kind == WalkStop::Kind::Enter; ++n)
    stop = walker.Run(s, nullptr);
  return stop;
}

bool Shows(const ShownSteps& shown, const WarpPlace& place) {
  if (place.step < 0) {
    const auto first = shown.lines.lower_bound({place.scene, 0, 0});
    const auto option = shown.options.lower_bound({place.scene, 0, 0, 0});
    return (first != shown.lines.end() && std::get<0>(*first) == place.scene) ||
           (option != shown.options.end() && std::get<0>(*option) == place.scene);
  }
  if (shown.lines.count({place.scene, place.lane, place.step})) return true;
  const auto option = shown.options.lower_bound({place.scene, place.lane, place.step, 0});
  return option != shown.options.end() && std::get<0>(*option) == place.scene && std::get<1>(*option) == place.lane &&
         std::get<2>(*option) == place.step;
}

int OptionCount(const OptionSet& set) {
  if (set.count > 0) return set.count;
  return static_cast<int>(
      std::count_if(set.options.begin(), set.options.end(), [](const std::string& o) { return !o.empty(); }));
}

// From `s` on, `picks` made at the choices on the way: the story at the last
// pick's choice (`s` itself without picks), and whether `place` shows
// between that pick and the next choice. Nothing when a pick finds no
// choice to take it.
struct Walked {
  WalkState atLastChoice;
  bool showsPlace = false;
};
std::optional<Walked> Walk(const Story& story, WalkState s, const std::vector<int>& picks, const WarpPlace& place) {
  StoryWalker walker(story);
  Walked walked{s};
  WalkStop stop{WalkStop::Kind::Enter};
  if (!picks.empty()) stop = RunToChoice(walker, s, walker.Run(s, nullptr));
  for (std::size_t i = 0; i + 1 < picks.size(); ++i) {
    if (stop.kind != WalkStop::Kind::Choice || picks[i] >= OptionCount(*stop.options)) return std::nullopt;
    stop = RunToChoice(walker, s, walker.Pick(s, picks[i], nullptr));
  }
  StoryWalker last(story);  // what shows after the last pick alone
  if (picks.empty()) {
    RunToChoice(last, s, last.Run(s, nullptr));
  } else {
    if (stop.kind != WalkStop::Kind::Choice || picks.back() >= OptionCount(*stop.options)) return std::nullopt;
    walked.atLastChoice = s;
    RunToChoice(last, s, last.Pick(s, picks.back(), nullptr));
  }
  walked.showsPlace = Shows(last.shown(), place);
  return walked;
}

// The fewest picks in the scene `entry` enters that bring `place` on
// screen, the first such in pick order.
std::optional<std::vector<int>> PicksInScene(const Story& story, const WalkState& entry, const WarpPlace& place) {
  std::vector<std::vector<int>> level{{}};
  for (int depth = 0; depth <= kMostPicksInScene; ++depth) {
    std::vector<std::vector<int>> next;
    for (const std::vector<int>& picks : level) {
      if (auto walked = Walk(story, entry, picks, place); walked && walked->showsPlace) return picks;
      for (int pick = 0; pick < 3; ++pick) {
        next.push_back(picks);
        next.back().push_back(pick);
      }
    }
    level = std::move(next);
  }
  return std::nullopt;
}

// What a scene's own picks depend on: everything but the parameters.
std::tuple<int, int, int> LocalKey(const WalkState& s) { return {s.condition, s.lastChoice, s.day}; }

std::optional<std::vector<int>> FewestPicks(const Story& story, RouteCounter& counter, const WarpPlace& place,
                                            int play) {
  std::optional<std::vector<int>> best;
  std::map<std::tuple<int, int, int>, std::optional<std::vector<int>>> inScene;
  const RouteCounter::SceneEntry* bestEntry = nullptr;
  const std::vector<int>* bestInScene = nullptr;
  const std::vector<RouteCounter::SceneEntry> entries = counter.EntriesOf(place.scene);
  for (const RouteCounter::SceneEntry& entry : entries) {
    if (entry.play != 0 && entry.play != play + 1) continue;
    auto [found, fresh] = inScene.try_emplace(LocalKey(entry.state));
    if (fresh) found->second = PicksInScene(story, entry.state, place);
    if (!found->second) continue;
    const std::size_t picks = entry.fewest + found->second->size();
    if (bestEntry && bestEntry->fewest + bestInScene->size() <= picks) continue;
    bestEntry = &entry;
    bestInScene = &*found->second;
  }
  if (bestEntry) {
    best = counter.PicksTo(bestEntry->id);
    best->insert(best->end(), bestInScene->begin(), bestInScene->end());
  }
  // The endings and the game over run straight to their end and have no
  // entries of their own: the shortest routes to the outcomes pass them.
  for (int outcome = 0; outcome < kOutcomeCount; ++outcome) {
    const auto picks = counter.Shortest(play, outcome);
    if (!picks || (best && best->size() <= picks->size())) continue;
    const auto walked = Walk(story, NewGame(static_cast<std::uint8_t>(play)), *picks, place);
    if (walked && walked->showsPlace) best = *picks;
  }
  return best;
}

std::vector<int> QuickestEnding(const RouteCounter& counter, int& ending) {
  std::vector<int> quickest;
  for (int outcome = 0; outcome < kGameOver; ++outcome) {
    const auto picks = counter.Shortest(kFirstPlay, outcome);
    if (picks && (!ending || picks->size() < quickest.size())) quickest = *picks, ending = outcome + 1;
  }
  return quickest;
}

}  // namespace

std::string WarpPlace::Header(const Story& story) const {
  const SceneScript* s = story.Find(scene);
  if (!s || step < 0) return std::to_string(scene);
  return StepHeader(*s, lane, step);
}

std::string WarpPlace::Argument(const Story& story) const {
  const SceneScript* s = story.Find(scene);
  if (!s || step < 0) return std::to_string(scene);
  const std::string laneName = s->lanes[lane].key.Name();
  return std::to_string(scene) + ":" + (laneName.empty() ? "" : laneName + ":") + "s" + std::to_string(step);
}

std::optional<WarpPlace> ParseWarpPlace(const Story& story, const std::string& text, std::string& problem) {
  const std::vector<std::string> words = Words(text);
  const bool hasStep =
      words.size() >= 2 && words.back().size() > 1 && words.back()[0] == 's' && IsNumber(words.back().substr(1));
  if (words.empty() || words.size() > 3 || !IsNumber(words[0]) || (words.size() > 1 && !hasStep)) {
    problem = "a place is SCENE, SCENE:sSTEP or SCENE:LANE:sSTEP (as 12, 0:s5 or 12:p0:s33), not \"" + text + "\"";
    return std::nullopt;
  }
  WarpPlace place;
  place.scene = std::stoi(words[0]);
  const SceneScript* scene = story.Find(place.scene);
  if (!scene) {
    problem = "the story has no scene " + words[0];
    return std::nullopt;
  }
  if (!hasStep) return place;
  place.step = std::stoi(words.back().substr(1));
  const std::string laneName = words.size() == 3 ? words[1] : "";
  place.lane = FindLane(*scene, laneName, place.step);
  if (place.lane < 0) {
    const std::string lanes = LaneNames(*scene);
    problem = "scene " + words[0] + " has no step " + words.back() + (laneName.empty() ? "" : " in lane " + laneName) +
              (lanes.empty() ? "" : " (its lanes: " + lanes + ")");
    return std::nullopt;
  }
  const Step& step = *scene->lanes[place.lane].At(place.step);
  if (SlotOf(step) == StepSlot::None) {
    problem = place.Header(story) + " is " + DescribeStep(step) + ", which shows nothing: warp to a line or a choice";
    return std::nullopt;
  }
  return place;
}

std::optional<WarpRoute> FindWarpRoute(const Story& story, const WarpPlace& place, std::uint8_t endingNo,
                                       std::string& problem) {
  RouteCounter counter(story);
  counter.CountBefore(NewGame(0), place.scene);
  const int play = endingNo == 0 ? kFirstPlay : kAfterEnding;
  const std::optional<std::vector<int>> picks = FewestPicks(story, counter, place, play);
  if (!picks) {
    const bool later = play == kFirstPlay && FewestPicks(story, counter, place, kAfterEnding);
    problem = later ? "only a play after an ending reaches " + place.Header(story) +
                          ", and this data folder holds no ending (finish one first, or give a --data-dir that has)"
                    : "no route from a new game reaches " + place.Header(story);
    return std::nullopt;
  }
  const auto walked = Walk(story, NewGame(endingNo), *picks, place);
  if (!walked || !walked->showsPlace) {
    problem = "the route found to " + place.Header(story) + " does not get there";
    return std::nullopt;
  }
  WarpRoute route{*picks, walked->atLastChoice};
  if (play == kAfterEnding) route.firstRun = QuickestEnding(counter, route.firstRunEnding);
  return route;
}

}  // namespace pelmot::storymap
