// A game with the whole story and the default scenario installed, played
// through the handlers: clicks, the skip button, timer ticks and picks.
#pragma once

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "flow/pick.h"
#include "game_fixture.h"
#include "scenes/compose_story.h"
#include "scenes/content_check.h"
#include "scenes/default_scenario.h"
#include "scenes/story_runner.h"
#include "scenes/story_structure.h"
#include "shell/screen.h"

namespace pelmot::testing {

// The placeholder scenario, parsed and checked once.
inline std::shared_ptr<const Content> DefaultContent() {
  static const std::shared_ptr<const Content> content = [] {
    LoadedScenario loaded = LoadScenarioText(DefaultScenarioText(), "scenario.txt", StoryStructure());
    if (!loaded.problems.empty()) throw std::runtime_error("default scenario: " + loaded.problems.front());
    return loaded.content;
  }();
  return content;
}

// The story composed with it, shared by every game of the tests.
inline std::shared_ptr<const Story> DefaultStory() {
  static const auto story = std::make_shared<const Story>(ComposeStory(StoryStructure(), *DefaultContent()));
  return story;
}

class StoryGame : public TestGame {
 public:
  StoryGame() {
    Scenes(game()) = {std::make_shared<StoryScenes>(DefaultStory()), DefaultContent()};
    state().WinDir = game().paths.dataRoot;
    std::filesystem::create_directories(state().WinDir + "/TORMVEL/PELMOT");
  }

  std::string SeenFlagsPath() { return state().WinDir + "/TORMVEL/PELMOT/SAVEDATA.DAT"; }

  SaveRecord& record() { return state().SaveRecord; }

  // Puts the game into scene play at step 0 of `scene`, as a go-to does,
  // whatever it was doing before.
  void StartScene(int scene, int condition = 0, int day = 1) {
    GameState& s = state();
    s.PendingText.clear();
    s.ClickAdvances = true;
    s.EndingNo() = 0;
    record().LastChoice = 0;
    form().MainPic.enabled = false;
    form().SkipTimer.enabled = false;
    form().SkipB.visible = false;
    s.FlowMode = kModeScene;
    s.StepNo = {};
    s.SceneNo = static_cast<std::int16_t>(scene);
    record().Condition = static_cast<std::int16_t>(condition);
    record().DayNo = static_cast<std::int16_t>(day);
    s.ShownPic = kNoPicture;
    RunFlow(game());
    AfterEvent(game());
  }

  // A menu or choice waits for a pick.
  bool WaitsForPick() { return !state().ClickAdvances && form().MainPic.enabled; }

  // Advances by clicking until a choice waits, the scene changes or the game
  // is back at the title. Returns the number of clicks.
  int ClickUntilChoiceOrSceneChange(int limit = 500) {
    const int scene = state().SceneNo;
    for (int clicks = 0; clicks < limit; ++clicks) {
      if (WaitsForPick() || state().SceneNo != scene || state().FlowMode == kModeTitle) return clicks;
      Click(400, 300);
    }
    throw std::runtime_error("the story stalls in scene " + std::to_string(scene));
  }

  // Clicks one option row of the choice on screen, as a player would.
  void Pick(int row) {
    std::optional<Point> p = PickPoint(game(), row);
    if (!p) throw std::runtime_error("no option row " + std::to_string(row));
    Click(form().MainPic.left + p->x, form().MainPic.top + p->y);
  }

  // Presses the skip button: it shows while the pointer is over its strip.
  void PressSkipButton() {
    Move(790, 500);
    Click(790, 500);
  }

  // Ticks while the skip timer runs; returns the number of ticks.
  int TickWhileSkipping(int limit = 1000) {
    for (int ticks = 0; ticks < limit; ++ticks) {
      if (!form().SkipTimer.enabled) return ticks;
      Tick();
    }
    throw std::runtime_error("skipping never stops");
  }
};

}  // namespace pelmot::testing
