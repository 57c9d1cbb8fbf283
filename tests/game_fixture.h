// A game on the headless services, with the font's metrics and a data root
// of its own, driven through the handlers as a player would.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "game/dialog_queue.h"
#include "game/game.h"
#include "flow/input.h"
#include "game/run_flow.h"
#include "platform/cell_text.h"
#include "platform/common/codepage.h"
#include "platform/common/files.h"
#include "platform/common/instance_lock.h"
#include "platform/headless/headless_services.h"
#include "platform/common/picload.h"
#include "scenes/scene_table.h"
#include "shell/screen.h"

namespace pelmot::testing {

// A fresh temporary folder, removed at the end of the test.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }
 private:
  std::string path_;
};

// Scenes written in the test: scene number to a procedure of one step.
class TestScenes : public SceneRunner {
 public:
  using Procedure = std::function<void(Game&)>;
  std::map<int, Procedure> procedures;
  void Run(Game& game, ProcedureLabel, int sceneNo) override {
    auto it = procedures.find(sceneNo);
    if (it != procedures.end()) it->second(game);
  }
};

// The font's metrics, block glyphs, and a record of every text drawn.
class RecordingText : public CellTextEngine {
 public:
  void Draw(Surface& target, int x, int y, std::string_view utf8, Colour colour,
            int pixelSize) override {
    drawn.emplace_back(utf8);
    CellTextEngine::Draw(target, x, y, utf8, colour, pixelSize);
  }
  bool Drew(const std::string& text) const {
    for (const auto& d : drawn)
      if (d == text) return true;
    return false;
  }
  std::vector<std::string> drawn;
};

// Who answers the game's message boxes: the headless services at once (from
// queued answers), or the game's own dialog state, through a GameHost's events.
enum class Boxes { kHeadless, kInGame };

class TestGame {
 public:
  TestGame();
  explicit TestGame(const std::string& dataRoot, Boxes boxes = Boxes::kHeadless);
  explicit TestGame(Boxes boxes) : TestGame("", boxes) {}

  Game& game() { return *game_; }
  GameState& state() { return game_->state; }
  MainForm& form() { return game_->form; }
  TestScenes& scenes() { return *scenes_; }

  // Starts the game as the program does: folders, data files, system
  // pictures, the logo movie.
  void Start();
  // Presses the middle of row `row` of the list on screen; false if none.
  bool Pick(int row);

  // Input as a player gives it, followed by what the window does after an event.
  void Click(int x, int y) { Event([&] { RouteMouseDown(*game_, kLeftButton, 0, x, y); }); }
  void RightClick(int x, int y) { Event([&] { RouteMouseDown(*game_, kRightButton, 0, x, y); }); }
  void Move(int x, int y) { Event([&] { RouteMouseMove(*game_, 0, 0, x, y); }); }
  void KeyDown(int key) { Event([&] { Form_KeyDown(*game_, key, 0); }); }
  void KeyUp(int key) { Event([&] { Form_KeyUp(*game_, key, 0); }); }
  void Tick() { Event([&] { if (game_->form.SkipTimer.enabled) SkipTimer_Timer(*game_); }); }

  HeadlessClock clock;
  HeadlessDialogs dialogs;
  HeadlessDisplay display;
  HeadlessMultimedia multimedia;
  PngPictureLoader pictures;
  RecordingText text;
  SystemFiles files;
  Cp932CodePage codePage;
  FileInstanceLock lock;
  DialogQueue boxes{&text};  // the game's dialogs with Boxes::kInGame

 private:
  void Event(const std::function<void()>& f) {
    f();
    AfterEvent(*game_);
  }
  std::unique_ptr<TempDir> ownDir_;
  Services services_;
  std::unique_ptr<Game> game_;
  TestScenes* scenes_ = nullptr;
};

}  // namespace pelmot::testing
