// The story map's figures: the memoised count checked against the game
// itself playing every pick sequence from a few mid-story states, and
// against a forward count over the whole story; the walker's arithmetic
// against AddParam; the checker's warning; the map's text escaping.
#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "scenes/story_structure.h"
#include "story_fixture.h"
#include "storymap/map_writers.h"
#include "storymap/route_count.h"
#include "storymap/story_map.h"
#include "storymap/warp_route.h"

namespace pelmot {
namespace {

using storymap::Figures;
using storymap::kGameOver;
using storymap::kOutcomeCount;
using storymap::RouteCounter;
using storymap::WalkState;
using testing::StoryGame;

struct Start {
  int scene;
  int day;
  int condition;
  std::array<std::int16_t, 4> params;
  std::uint8_t endingNo;
};

void PrintTo(const Start& s, std::ostream* os) {
  *os << "scene " << s.scene << " C" << s.condition << " EndingNo " << int(s.endingNo);
}

// Plays from `start` picking `picks` in order. Returns the outcome, or
// nothing with `options` set when a choice waits beyond the picks given.
std::optional<int> PlayOnce(const Start& start, const std::vector<int>& picks, int& options) {
  StoryGame t;
  t.record().Params = start.params;
  t.StartScene(start.scene, start.condition, start.day);
  t.state().EndingNo() = start.endingNo;
  std::size_t used = 0;
  int scene = start.scene;  // the title's new game sets SceneNo 0: keep the last one played
  for (int events = 0; events < 20000; ++events) {
    if (t.state().FlowMode == kModeTitle) return scene == 2 ? kGameOver : scene - storymap::kFirstEndingScene;
    scene = t.state().SceneNo;
    if (!t.WaitsForPick()) {
      t.Click(400, 300);
    } else if (used < picks.size()) {
      t.Pick(picks[used++]);
    } else {
      options = t.state().OptionCount + 1;  // the rows 0 ... OptionCount
      return std::nullopt;
    }
  }
  ADD_FAILURE() << "the play never ends";
  return storymap::kStuck;
}

// Every pick sequence from `start`, each played in a game of its own.
void Enumerate(const Start& start, std::vector<int>& picks, Figures& tally) {
  int options = 0;
  if (std::optional<int> outcome = PlayOnce(start, picks, options)) {
    ++tally.count[*outcome];
    tally.fewest[*outcome] = std::min(tally.fewest[*outcome], static_cast<int>(picks.size()));
    return;
  }
  ASSERT_GE(options, 2);
  for (int pick = 0; pick < options; ++pick) {
    picks.push_back(pick);
    Enumerate(start, picks, tally);
    picks.pop_back();
  }
}

class CountAgainstPlay : public ::testing::TestWithParam<Start> {};

TEST_P(CountAgainstPlay, TheMemoisedCountMatchesPlayingEverySequence) {
  const Start& start = GetParam();
  std::vector<int> picks;
  Figures played;
  Enumerate(start, picks, played);
  WalkState entry;
  entry.scene = start.scene;
  entry.day = static_cast<std::int16_t>(start.day);
  entry.condition = static_cast<std::int16_t>(start.condition);
  entry.params = start.params;
  entry.endingNo = start.endingNo;
  RouteCounter counter(*testing::DefaultStory());
  const Figures counted = counter.Count(entry)[start.endingNo != 0];
  for (int o = 0; o < kOutcomeCount; ++o) {
    EXPECT_EQ(counted.count[o], played.count[o]) << storymap::OutcomeName(o);
    EXPECT_EQ(counted.fewest[o], played.fewest[o]) << storymap::OutcomeName(o);
  }
  int reached = 0;
  for (int o = 0; o < kOutcomeCount; ++o) reached += played.count[o] > 0;
  EXPECT_GE(reached, 2) << "a start that reaches one ending checks little";
}

// Days 11 to 15: every choice kind (message window and page, by pick lanes,
// by Condition) and the ending selection, with and without an ending seen.
INSTANTIATE_TEST_SUITE_P(FromDayEleven, CountAgainstPlay,
                         ::testing::Values(Start{100, 11, 0, {60, 60, 60, 150}, 0},
                                           Start{100, 11, 5, {110, 100, 90, 200}, 1}));
// Days 12 to 15 still hold every kind: lanes by Condition (110), a choice
// by Condition (120), pick lanes (112, 114), choices on the page (111, 113)
// and the ending selection. A sixth of the plays of day 11: the sample the
// sanitizer build runs (tests/CMakeLists.txt).
INSTANTIATE_TEST_SUITE_P(FromDayTwelve, CountAgainstPlay,
                         ::testing::Values(Start{110, 12, 4, {100, 120, 100, 230}, 0},
                                           Start{110, 12, 6, {120, 110, 100, 200}, 1}));

// A second count, forwards: the states entering each scene with how many
// sequences reach them, scene by scene in ascending order (every way on
// leads to a higher scene number).
Figures CountForwards(const Story& story, const WalkState& start) {
  storymap::StoryWalker walker(story);
  using Key = std::tuple<std::int16_t, std::int16_t, std::int16_t, std::array<std::int16_t, 4>>;
  std::map<int, std::map<Key, std::uint64_t>> entering;
  entering[start.scene][{start.condition, start.lastChoice, start.day, start.params}] = 1;
  Figures out;
  while (!entering.empty()) {
    auto [scene, states] = *entering.begin();
    entering.erase(entering.begin());
    for (const auto& [key, ways] : states) {
      WalkState s;
      s.scene = scene;
      std::tie(s.condition, s.lastChoice, s.day, s.params) = key;
      s.endingNo = start.endingNo;
      std::function<void(WalkState, storymap::WalkStop, int)> follow = [&](WalkState at, storymap::WalkStop stop,
                                                                           int picks) {
        using Kind = storymap::WalkStop::Kind;
        if (stop.kind == Kind::Choice) {
          for (int pick = 0; pick < stop.options->count; ++pick) {
            WalkState next = at;
            follow(next, walker.Pick(next, pick, nullptr), picks + 1);
          }
        } else if (stop.kind == Kind::Enter) {
          EXPECT_GT(at.scene, scene) << "a way back to an earlier scene";
          entering[at.scene][{at.condition, at.lastChoice, at.day, at.params}] += ways;
        } else {
          out.count[stop.outcome] += ways;
        }
      };
      follow(s, walker.Run(s, nullptr), 0);
    }
  }
  return out;
}

// From day 7 on, walking every scene of every state afresh stays quick.
TEST(StoryFigures, TheSecondHalfCountsTheSameWalkingEveryStateAfresh) {
  const Story& story = *testing::DefaultStory();
  RouteCounter counter(story);
  for (std::uint8_t endingNo : {0, 1}) {
    WalkState start;
    start.scene = 60;
    start.day = 7;
    start.condition = 1;
    start.params = {40, 20, 60, 150};
    start.endingNo = endingNo;
    const Figures counted = counter.Count(start)[endingNo];
    const Figures forwards = CountForwards(story, start);
    EXPECT_EQ(counted.count, forwards.count) << "EndingNo " << int(endingNo);
  }
}

TEST(StoryFigures, OnlyALaterPlayReachesTheTenthEnding) {
  RouteCounter counter(*testing::DefaultStory());
  const storymap::PlayFiguresPair figures = counter.Count(storymap::NewGame(0));
  const Figures& first = figures[0];
  const Figures& later = figures[1];
  std::uint64_t firstTotal = 0, laterTotal = 0;
  for (int o = 0; o < kOutcomeCount; ++o) firstTotal += first.count[o], laterTotal += later.count[o];
  EXPECT_EQ(firstTotal, laterTotal) << "the same sequences, only some end elsewhere";
  EXPECT_GT(firstTotal, 10'000'000u);
  for (int o = 0; o < 9; ++o) EXPECT_GT(first.count[o], 0u) << storymap::OutcomeName(o);
  EXPECT_EQ(first.count[9], 0u);
  EXPECT_GT(later.count[9], 0u);
  for (int o = 0; o < 5; ++o) EXPECT_EQ(first.count[o], later.count[o]) << "below P3 270 EndingNo does not matter";
  EXPECT_EQ(first.count[storymap::kStuck] + later.count[storymap::kStuck], 0u);
  // The prologue's first two picks lead to the game over, and nothing else does.
  EXPECT_EQ(first.count[kGameOver], 1u);
  EXPECT_EQ(counter.Shortest(0, kGameOver), (std::vector<int>{0, 0}));
}

TEST(StoryFigures, TheWalkersArithmeticIsAddParams) {
  for (int condition = 0; condition <= 7; ++condition) {
    for (int day : {1, 2, 4, 9, 15}) {
      for (int index = 0; index < 4; ++index) {
        for (int amount : {-40, -20, 10, 20, 80}) {
          testing::TestGame t;
          WalkState s;
          s.condition = t.state().SaveRecord.Condition = static_cast<std::int16_t>(condition);
          s.day = t.state().SaveRecord.DayNo = static_cast<std::int16_t>(day);
          s.params = t.state().SaveRecord.Params = {990, 15, 500, 30};
          storymap::AddToParam(s, index, amount);
          AddParam(t.game(), index, static_cast<std::int16_t>(amount));
          ASSERT_EQ(s.params, t.state().SaveRecord.Params) << "C" << condition << " day " << day;
        }
      }
    }
  }
}

TEST(UnshownEntries, ALineNoPlayShowsIsWarnedWithItsFileLine) {
  const std::string text =
      "# two entries\n12 s5 pic=46 | 夕方の教室。\n10 s4 C0 > 学校へ行く | 家にいる | 寄り道する\n";
  auto nothingShown = [](int, int, int, int) { return false; };
  const std::vector<std::string> warnings = UnshownEntryWarnings(text, "s.txt", StoryStructure(), nothingShown);
  ASSERT_EQ(warnings.size(), 2u);
  EXPECT_EQ(warnings[0], "s.txt:2: warning: no play ever shows this line (scene 12 s5)");
  EXPECT_EQ(warnings[1], "s.txt:3: warning: no play ever shows these options (scene 10 s4)");
  auto onlyCondition1 = [](int, int, int, int condition) { return condition == 1 || condition < 0; };
  EXPECT_EQ(UnshownEntryWarnings(text, "s.txt", StoryStructure(), onlyCondition1).size(), 1u)
      << "options for Condition 0 are unshown when only Condition 1 is ever shown";
}

TEST(UnshownEntries, EveryLineOfTheDefaultScenarioCanShow) {
  const storymap::ShownSteps shown = storymap::ReachableSteps(StoryStructure());
  std::size_t lineSteps = 0;
  for (const SceneScript& scene : StoryStructure().Scenes())
    for (std::size_t lane = 0; lane < scene.lanes.size(); ++lane)
      for (int step = scene.lanes[lane].first; step <= scene.lanes[lane].Last(); ++step)
        for (const Op& op : scene.lanes[lane].At(step)->ops) {
          if (op.kind != OpKind::Line) continue;
          ++lineSteps;
          EXPECT_TRUE(shown.lines.count({scene.number, static_cast<int>(lane), step}))
              << "scene " << StepHeader(scene, static_cast<int>(lane), step);
        }
  EXPECT_GT(lineSteps, 3000u);
}

// Every way into `from` leads to `to` instead.
void Redirect(std::vector<Op>& ops, int from, int to) {
  for (Op& op : ops) {
    if (op.kind == OpKind::GoToScene && op.a == from) op.a = to;
    for (BranchCase& branch : op.cases) Redirect(branch.ops, from, to);
  }
}

TEST(Warp, APlaceNoRouteReachesIsRefusedAndOneEveryRouteReachesNeedsNoPicks) {
  Story story = StoryStructure();
  std::string problem;
  const auto line = storymap::ParseWarpPlace(story, "12:p0:s33", problem);
  ASSERT_TRUE(line) << problem;
  EXPECT_EQ(line->Header(story), "12 p0 s33");
  EXPECT_EQ(line->Argument(story), "12:p0:s33");
  EXPECT_TRUE(storymap::FindWarpRoute(story, *line, 0, problem)) << problem;
  for (SceneScript& scene : story.Scenes())
    for (Lane& lane : scene.lanes)
      for (Step& step : lane.steps) Redirect(step.ops, 12, 13);
  EXPECT_FALSE(storymap::FindWarpRoute(story, *line, 0, problem));
  EXPECT_EQ(problem, "no route from a new game reaches 12 p0 s33");
  const auto prologue = storymap::ParseWarpPlace(story, "0 s5", problem);
  ASSERT_TRUE(prologue) << problem;
  const auto route = storymap::FindWarpRoute(story, *prologue, 0, problem);
  ASSERT_TRUE(route) << problem;
  EXPECT_TRUE(route->picks.empty());
  EXPECT_EQ(route->atLastChoice.scene, 0);
  EXPECT_EQ(route->atLastChoice.step, 0);
}

TEST(MapText, ScenarioWordsAreEscapedAndShortened) {
  storymap::StoryMap map;
  storymap::MapNode node;
  node.scene = 12;
  node.day = 2;
  node.firstLine = "a<b>&\"c";
  node.pictures = {5, 46};
  map.nodes.push_back(node);
  map.edges.push_back({12, 15, "", {"「x\"\\y」"}, {"P1+20"}});
  const std::string dot = storymap::DotText(map);
  EXPECT_NE(dot.find("a&lt;b&gt;&amp;&quot;c"), std::string::npos) << dot;
  EXPECT_NE(dot.find("x\\\"\\\\y"), std::string::npos) << dot;
  EXPECT_EQ(storymap::Shorten("あいうえお", 3), "あいう…");
  EXPECT_EQ(storymap::Shorten("あいう", 3), "あいう");
  const std::string json = storymap::JsonText(map, {});
  EXPECT_NE(json.find("\"firstLine\":\"a<b>&\\\"c\""), std::string::npos) << json;
  // Page marks become spaces in one pass, however many a line holds; a
  // leading "@" of either width goes once the marks are out.
  EXPECT_EQ(storymap::WithoutMarks("＠あ@rい@Rう"), "あ い う");
  EXPECT_EQ(storymap::WithoutMarks("@@rx@"), " x@");
  EXPECT_EQ(storymap::WithoutMarks("@rx"), " x");
  std::string marks;
  for (int i = 0; i < 200000; ++i) marks += "あ@r";
  const std::string shown = storymap::WithoutMarks(marks);
  EXPECT_EQ(std::count(shown.begin(), shown.end(), ' '), 200000);
  EXPECT_EQ(shown.find('@'), std::string::npos);
}

}  // namespace
}  // namespace pelmot
