#include "app/warp.h"

#include <ostream>

#include "app/game_host.h"
#include "flow/input.h"
#include "flow/pick.h"
#include "game/flow_steps.h"
#include "game/game.h"
#include "game/run_flow.h"
#include "game/screen_geometry.h"
#include "menus/system_menu.h"
#include "scenes/scene_table.h"
#include "shell/layout.h"
#include "shell/movie.h"
#include "shell/screen.h"
#include "storymap/route_script.h"
#include "storymap/warp_route.h"

namespace pelmot {
namespace {

// More clicks than the longest way between two choices takes.
constexpr int kMostClicks = 20000;
constexpr Point kClickPoint{400, 300};

void Press(GameHost& host, InputEvent::Kind kind, int button, int x, int y) {
  InputEvent e{kind};
  e.button = button;
  e.x = x;
  e.y = y;
  host.OnEvent(e);
}

// As the route's `pick N` presses it: the pointer to the row, then a press.
bool PickRow(GameHost& host, int row) {
  const Game& game = host.game();
  const std::optional<Point> p = PickPoint(game, row);
  if (!p || game.state.ClickAdvances || !game.form.MainPic.enabled) return false;
  const int x = game.form.MainPic.left + p->x, y = game.form.MainPic.top + p->y;
  Press(host, InputEvent::Kind::kMouseMove, 0, x, y);
  Press(host, InputEvent::Kind::kMouseDown, kLeftButton, x, y);
  return true;
}

bool Waits(const Game& game) {
  const GameState& s = game.state;
  const bool inStory = s.FlowMode == kModeScene || s.FlowMode == kModeChoice;
  return inStory && (s.ClickAdvances || game.form.MainPic.enabled);
}

bool AtPlace(const Game& game, const Story& story, const storymap::WarpPlace& place) {
  const GameState& s = game.state;
  if (!Waits(game) || s.SceneNo != place.scene) return false;
  if (place.step < 0) return true;
  const SceneScript* scene = story.Find(place.scene);
  const Lane* lane = scene->ServingLane(s.StepNo[kModeScene], s.SaveRecord.Condition, s.SaveRecord.LastChoice);
  return s.StepNo[kModeScene] == place.step && lane == &scene->lanes[static_cast<std::size_t>(place.lane)];
}

// Where a click moves the story: a click that only completes a page drawn
// at a text speed moves nothing, and a fresh data folder draws pages whole.
auto Position(const Game& game) {
  const GameState& s = game.state;
  return std::tuple(s.SceneNo, s.StepNo[kModeScene], s.PendingText, s.FlowMode);
}

// The logo, the title or a menu give way to the story, and the run keeps
// its hands off the data files.
void LeaveForTheStory(GameHost& host) {
  Game& game = host.game();
  game.dataFilesHeld = true;
  ComfortState& c = host.comforts().State();
  c.readRecordWritable = false;
  c.readRecordDue = false;
  c.routesWritable = false;
  c.settingsScreen.open = c.routeChart.open = c.backlog.open = false;
  if (!game.state.MoviePath.empty()) {
    CloseLogoMovie(game);
    game.form.MainPic.Clear();
    PlaceControl(game, game.form.MainPic, kScreenWidth, kScreenHeight, 0, 0, 15);
  }
}

void ResumeAt(GameHost& host, const storymap::WalkState& at) {
  Game& game = host.game();
  SaveRecord record = game.state.SaveRecord;
  record.ResumeMode = kModeScene;
  record.SavedScene = static_cast<std::int16_t>(at.scene);
  record.SceneStep = static_cast<std::int16_t>(at.step);
  record.SavedPic = kNoPicture;  // the scene's steps tell the picture
  record.LastChoice = at.lastChoice;
  record.DayNo = at.day;
  record.Params = at.params;
  record.Condition = at.condition;
  host.comforts().EventEnds();
  ResumeRecord(game, record);
  game.state.StepNo[kModeTitle] = kTitleItemFirst;  // as the title's start leaves it
  host.comforts().AfterEvent();
  host.comforts().EventEnds();
  AfterEvent(game);
}

std::vector<std::string> Expects(const Game& game) {
  const SaveRecord& r = game.state.SaveRecord;
  std::string params;
  for (std::int16_t p : r.Params) params += (params.empty() ? "" : ",") + std::to_string(p);
  return {"SceneNo " + std::to_string(game.state.SceneNo),
          "StepNo[" + std::to_string(kModeScene) + "] " + std::to_string(game.state.StepNo[kModeScene]),
          "Params [" + params + "]",
          "Condition " + std::to_string(r.Condition),
          "DayNo " + std::to_string(r.DayNo),
          "LastChoice " + std::to_string(r.LastChoice)};
}

}  // namespace

bool Warp(GameHost& host, const std::string& text, std::ostream& routeOut, std::string& problem) {
  Game& game = host.game();
  const Story* story = PlayedStory(game);
  if (!story) {
    problem = "the story is not installed";
    return false;
  }
  const auto place = storymap::ParseWarpPlace(*story, text, problem);
  if (!place) return false;
  const auto route = storymap::FindWarpRoute(*story, *place, game.state.EndingNo(), problem);
  if (!route) return false;
  LeaveForTheStory(host);
  ResumeAt(host, route->atLastChoice);
  if (!route->picks.empty() && !PickRow(host, route->picks.back())) {
    problem = "the choice before " + place->Header(*story) + " did not come up";
    return false;
  }
  int clicks = 0;
  for (int n = 0; !AtPlace(game, *story, *place); ++n) {
    if (n == kMostClicks || !game.state.ClickAdvances || game.quitRequested) {
      problem = "the story did not come to " + place->Header(*story) + " (it stopped at scene " +
                std::to_string(game.state.SceneNo) + " s" + std::to_string(game.state.StepNo[kModeScene]) + ")";
      return false;
    }
    const auto before = Position(game);
    Press(host, InputEvent::Kind::kMouseDown, kLeftButton, kClickPoint.x, kClickPoint.y);
    if (Position(game) != before) ++clicks;
  }
  routeOut << storymap::WarpScriptText(
      {place->Header(*story), route->firstRun, route->firstRunEnding, route->picks, clicks, Expects(game)});
  AuthorRouteStartsAtWarp(game, host.comforts().State(), place->Argument(*story), route->picks);
  return true;
}

}  // namespace pelmot
