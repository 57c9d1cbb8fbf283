// The whole story played as a player plays it: from the title menu, by
// clicks, the skip button and picks, to every ending and to the game over.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

#include "story_fixture.h"

namespace pelmot {
namespace {

using testing::StoryGame;

struct Checkpoint {
  int scene;
  int day;
  int condition;
  std::array<std::int16_t, 4> params;
};

struct Route {
  int ending;
  std::vector<int> picks;            // in the order the choices come
  std::vector<int> scenes;           // every scene entered
  std::vector<Checkpoint> entering;  // the values on entering some of them
};

// Worked out by hand from the scene table and the AddParam rules.
// clang-format off
const std::vector<Route> kRoutes = {
    {151,
     {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 0, 1, 1, 0, 0},
     {0, 3, 4, 5, 10, 14, 15, 20, 22, 25, 30, 32, 35, 40, 42, 45, 50, 52, 55, 60, 62, 66, 70, 73, 75, 80, 82, 85, 90, 91, 95, 100, 105, 108, 110, 114, 115, 120, 122, 125, 130, 140, 141, 150, 151},
     {{35, 4, 6, {20, 20, 20, 133}}, {75, 8, 6, {50, 50, 60, 241}}, {115, 12, 7, {10, 50, 20, 241}}, {150, 15, 0, {40, 70, 40, 314}}}},
    {152,
     {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 1, 1, 1, 1},
     {0, 3, 4, 5, 10, 14, 15, 20, 22, 25, 30, 32, 35, 40, 42, 45, 50, 52, 55, 60, 62, 66, 70, 73, 75, 80, 82, 85, 90, 92, 95, 100, 101, 108, 110, 114, 115, 120, 123, 125, 130, 140, 142, 150, 152},
     {{35, 4, 6, {20, 20, 20, 133}}, {75, 8, 6, {50, 50, 60, 241}}, {115, 12, 7, {50, 90, 100, 241}}, {150, 15, 0, {70, 150, 140, 241}}}},
    {153,
     {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1},
     {0, 3, 4, 5, 10, 14, 15, 20, 22, 25, 30, 32, 35, 40, 42, 45, 50, 52, 55, 60, 62, 66, 70, 74, 75, 80, 82, 85, 90, 92, 95, 100, 103, 108, 110, 112, 115, 120, 124, 125, 130, 140, 142, 150, 153},
     {{35, 4, 6, {20, 20, 20, 133}}, {75, 8, 6, {50, 50, 60, 183}}, {115, 12, 1, {110, 90, 80, 264}}, {150, 15, 0, {150, 150, 100, 264}}}},
    {154,
     {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 0, 1, 1, 1, 1},
     {0, 3, 4, 5, 10, 14, 15, 20, 22, 25, 30, 32, 35, 40, 42, 45, 50, 52, 55, 60, 62, 66, 70, 73, 75, 80, 82, 85, 90, 92, 95, 100, 102, 108, 110, 114, 115, 120, 123, 125, 130, 140, 142, 150, 154},
     {{35, 4, 6, {20, 20, 20, 133}}, {75, 8, 6, {50, 50, 60, 241}}, {115, 12, 7, {30, 90, 60, 241}}, {150, 15, 0, {50, 150, 100, 241}}}},
    {155,
     {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 0, 1, 0, 1, 1},
     {0, 3, 4, 5, 10, 14, 15, 20, 22, 25, 30, 32, 35, 40, 42, 45, 50, 52, 55, 60, 62, 66, 70, 73, 75, 80, 82, 85, 90, 92, 95, 100, 102, 108, 110, 114, 115, 120, 122, 125, 130, 140, 142, 150, 155},
     {{35, 4, 6, {20, 20, 20, 133}}, {75, 8, 6, {50, 50, 60, 241}}, {115, 12, 6, {30, 70, 80, 241}}, {150, 15, 0, {20, 110, 120, 241}}}},
    {156,
     {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0},
     {0, 3, 4, 5, 10, 14, 15, 20, 22, 25, 30, 32, 35, 40, 42, 45, 50, 52, 55, 60, 62, 66, 70, 73, 75, 80, 82, 85, 90, 92, 95, 100, 104, 108, 110, 114, 115, 120, 121, 125, 130, 140, 141, 150, 156},
     {{35, 4, 6, {20, 20, 20, 133}}, {75, 8, 6, {50, 50, 60, 241}}, {115, 12, 6, {90, 70, 80, 307}}, {150, 15, 0, {130, 70, 100, 380}}}},
    {157,
     {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
     {0, 3, 4, 5, 10, 14, 15, 20, 22, 25, 30, 32, 35, 40, 42, 45, 50, 52, 55, 60, 62, 66, 70, 73, 75, 80, 82, 85, 90, 92, 95, 100, 104, 108, 110, 114, 115, 120, 123, 125, 130, 140, 142, 150, 157},
     {{35, 4, 6, {20, 20, 20, 133}}, {75, 8, 6, {50, 50, 60, 241}}, {115, 12, 7, {90, 90, 60, 307}}, {150, 15, 0, {110, 150, 100, 307}}}},
    {158,
     {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1},
     {0, 3, 4, 5, 10, 14, 15, 20, 22, 25, 30, 32, 35, 40, 42, 45, 50, 52, 55, 60, 62, 66, 70, 73, 75, 80, 82, 85, 90, 92, 95, 100, 104, 108, 110, 114, 115, 120, 122, 125, 130, 140, 142, 150, 158},
     {{35, 4, 6, {20, 20, 20, 133}}, {75, 8, 6, {50, 50, 60, 241}}, {115, 12, 6, {90, 70, 80, 307}}, {150, 15, 0, {80, 110, 120, 307}}}},
    {159,
     {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 1, 0, 0, 1},
     {0, 3, 4, 5, 10, 14, 15, 20, 22, 25, 30, 32, 35, 40, 42, 45, 50, 52, 55, 60, 62, 66, 70, 73, 75, 80, 82, 85, 90, 91, 95, 100, 103, 108, 110, 112, 115, 120, 123, 125, 130, 140, 142, 150, 159},
     {{35, 4, 6, {20, 20, 20, 133}}, {75, 8, 6, {50, 50, 60, 241}}, {115, 12, 0, {120, 70, 110, 322}}, {150, 15, 0, {140, 130, 150, 322}}}},
    {160,
     {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 0, 0, 1},
     {0, 3, 4, 5, 10, 14, 15, 20, 22, 25, 30, 32, 35, 40, 42, 45, 50, 52, 55, 60, 62, 66, 70, 73, 75, 80, 82, 85, 90, 92, 95, 100, 103, 108, 110, 112, 115, 120, 123, 125, 130, 140, 142, 150, 160},
     {{35, 4, 6, {20, 20, 20, 133}}, {75, 8, 6, {50, 50, 60, 241}}, {115, 12, 0, {140, 70, 80, 322}}, {150, 15, 0, {160, 130, 120, 322}}}},
    {153,
     {0, 1, 0, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
     {0, 1, 3, 4, 5, 10, 15, 20, 21, 25, 30, 33, 35, 40, 41, 45, 50, 51, 55, 60, 63, 66, 70, 71, 75, 80, 83, 85, 90, 92, 95, 100, 101, 108, 110, 113, 115, 120, 123, 125, 130, 140, 141, 150, 153},
     {{35, 4, 6, {0, 0, 20, 34}}, {75, 8, 0, {120, 20, 0, 34}}, {115, 12, 0, {120, 70, 70, 115}}, {150, 15, 0, {160, 110, 90, 188}}}},
};
// clang-format on

void PrintTo(const Route& route, std::ostream* os) { *os << "the route to scene " << route.ending; }

struct Played {
  std::vector<int> scenes;
  std::map<int, Checkpoint> entering;
  std::size_t picksUsed = 0;
};

void StartNewGameFromTheTitle(StoryGame& t) {
  for (int i = 0; i < 5 && !(t.WaitsForPick() && t.state().StepNo[0] == 3); ++i) t.Click(400, 300);
  ASSERT_TRUE(t.WaitsForPick()) << "the title menu is up";
  t.Pick(0);  // "ゲームスタート"
  ASSERT_EQ(t.state().FlowMode, kModeScene);
}

// Plays until the game is back at the title, picking `picks` in order.
Played PlayToTheTitle(StoryGame& t, const std::vector<int>& picks) {
  Played played;
  auto enter = [&](int scene) {
    const SaveRecord& r = t.record();
    played.scenes.push_back(scene);
    played.entering[scene] = {scene, r.DayNo, r.Condition, r.Params};
  };
  enter(t.state().SceneNo);
  for (int events = 0; events < 5000 && t.state().FlowMode != kModeTitle; ++events) {
    const int scene = t.state().SceneNo;
    if (t.WaitsForPick()) {
      if (played.picksUsed == picks.size()) break;
      t.Pick(picks[played.picksUsed++]);
    } else {
      t.Click(400, 300);
    }
    if (t.state().FlowMode != kModeTitle && t.state().SceneNo != scene) enter(t.state().SceneNo);
  }
  return played;
}

void ExpectRoute(const Route& route, const Played& played) {
  EXPECT_EQ(played.scenes, route.scenes);
  EXPECT_EQ(played.picksUsed, route.picks.size());
  for (const Checkpoint& c : route.entering) {
    auto it = played.entering.find(c.scene);
    ASSERT_NE(it, played.entering.end()) << "scene " << c.scene << " never entered";
    EXPECT_EQ(it->second.day, c.day) << "DayNo on entering scene " << c.scene;
    EXPECT_EQ(it->second.condition, c.condition) << "Condition on entering scene " << c.scene;
    EXPECT_EQ(it->second.params, c.params) << "Params on entering scene " << c.scene;
  }
}

class EndingRoute : public ::testing::TestWithParam<Route> {};

TEST_P(EndingRoute, ANewGameReachesTheEndingWithTheValuesOfTheTable) {
  const Route& route = GetParam();
  StoryGame t;
  StartNewGameFromTheTitle(t);
  Played played = PlayToTheTitle(t, route.picks);
  ExpectRoute(route, played);
  EXPECT_EQ(t.state().EndingNo(), route.ending - 150);
  EXPECT_EQ(t.state().FlowMode, kModeTitle);
  EXPECT_EQ(t.state().StepNo[0], 2) << "the title picture shows";
}

std::vector<Route> RoutesButTheLast() {
  std::vector<Route> routes;
  for (const Route& r : kRoutes)
    if (r.ending != 160) routes.push_back(r);
  return routes;
}

INSTANTIATE_TEST_SUITE_P(Story, EndingRoute, ::testing::ValuesIn(RoutesButTheLast()), [](const auto& info) {
  return "Ending" + std::to_string(info.param.ending) + "_" + std::to_string(info.index);
});

TEST(StoryPlay, EndingTenFollowsAnEarlierEndingOnTheSameRoute) {
  const Route& route = kRoutes[9];
  ASSERT_EQ(route.ending, 160);
  StoryGame t;
  StartNewGameFromTheTitle(t);
  Played first = PlayToTheTitle(t, route.picks);
  EXPECT_EQ(first.scenes.back(), 156) << "P0 leads, and no ending was reached before";
  EXPECT_EQ(t.state().EndingNo(), 6);
  StartNewGameFromTheTitle(t);
  Played second = PlayToTheTitle(t, route.picks);
  ExpectRoute(route, second);
  EXPECT_EQ(t.state().EndingNo(), 10);
}

TEST(StoryPlay, TheGameOverEndsAtTheTitleWithNothingStored) {
  StoryGame t;
  StartNewGameFromTheTitle(t);
  Played played = PlayToTheTitle(t, {0, 0});
  EXPECT_EQ(played.scenes, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(t.state().FlowMode, kModeTitle);
  EXPECT_EQ(t.state().StepNo[0], 2);
  EXPECT_EQ(t.state().EndingNo(), 0);
  // The next click shows the title menu again.
  t.Click(400, 300);
  EXPECT_TRUE(t.WaitsForPick());
}

}  // namespace
}  // namespace pelmot
