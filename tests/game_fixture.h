// A game on the headless services, with the font's metrics and a data root
// of its own, driven through the handlers as a player would.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/session.h"
#include "flow/input.h"
#include "flow/mode_units.h"
#include "game/dialog_queue.h"
#include "game/game.h"
#include "game/run_flow.h"
#include "platform/cell_text.h"
#include "platform/common/codepage.h"
#include "platform/common/files.h"
#include "platform/common/instance_lock.h"
#include "platform/common/picload.h"
#include "platform/headless/headless_services.h"
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

// A shell command run to its end: its exit status (-1 when it did not exit),
// standard output and standard error.
struct CommandRun {
  int status = -1;
  std::string out;
  std::string err;
};
CommandRun RunCommand(const std::string& command);

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
  void Draw(Surface& target, int x, int y, std::string_view utf8, Colour colour, int pixelSize) override {
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

// The PNG loader, remembering what the game said its copies kept between
// runs may take.
class TestPictures : public PngPictureLoader {
 public:
  void KeepCopiesWithin(std::uint64_t bytes) override { copiesWithin = bytes; }
  std::optional<std::uint64_t> copiesWithin;
};

// Who answers the game's message boxes: the headless services at once (from
// queued answers), or the game's own dialog state, through a GameHost's events.
enum class Boxes { kHeadless, kInGame };

class TestGame {
 public:
  TestGame();
  explicit TestGame(const std::string& dataRoot, Boxes boxes = Boxes::kHeadless);
  explicit TestGame(Boxes boxes) : TestGame("", boxes) {}

  Game& game() { return session_->game(); }
  GameState& state() { return game().state; }
  MainForm& form() { return game().form; }
  TestScenes& scenes() { return *scenes_; }
  // The host every event goes through, as a window's do.
  GameHost& host() { return session_->host(); }
  ComfortState& comforts() { return host().comforts().State(); }

  // Starts the game as the program does: folders, data files, system
  // pictures, the logo movie.
  void Start();
  // Presses the middle of row `row` of the list on screen; false if none.
  bool Pick(int row);

  // Input as a player gives it, through the host as a window's events come.
  void Click(int x, int y) { Press(kLeftButton, x, y); }
  void RightClick(int x, int y) { Press(kRightButton, x, y); }
  void Move(int x, int y);
  void KeyDown(int key, bool repeat = false) { Key(InputEvent::Kind::kKeyDown, key, repeat); }
  void KeyUp(int key) { Key(InputEvent::Kind::kKeyUp, key, false); }
  void Wheel(int notches);
  // The skip timer fires once, if it runs.
  void Tick() { host().FireTimer(TimerName::Skip); }

  HeadlessClock clock;
  HeadlessDialogs dialogs;
  HeadlessDisplay display;
  HeadlessMultimedia multimedia;
  TestPictures pictures;
  RecordingText text;
  SystemFiles files;
  Cp932CodePage codePage;
  FileInstanceLock lock;
  DialogQueue boxes{&text};  // the game's dialogs with Boxes::kInGame

 private:
  void Press(int button, int x, int y);
  void Key(InputEvent::Kind kind, int key, bool repeat);
  std::unique_ptr<TempDir> ownDir_;
  Services services_;
  std::unique_ptr<GameSession> session_;
  TestScenes* scenes_ = nullptr;
};

}  // namespace pelmot::testing

// ---- Shared by the tests: files, a plain scene and pixel helpers ------------

#include "game/screen_geometry.h"
#include "present/choices.h"

namespace pelmot::testing {

// A file's bytes ("" when it cannot be read), and a file written with `bytes`.
std::string FileBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// Scene 0 as a plain story: at every step picture 10 + step and the line
// "台詞" + step; step `choiceStep` offers a page choice of `options`
// instead, and the step after it keeps the pick in LastChoice.
void InstallPlainScene(TestGame& t, int choiceStep, const Options& options);

// Fills the whole of `s` with one colour.
inline void Fill(Surface& s, Colour colour) { s.MutableImage().assign(s.Image().size(), colour); }

// A picture of the screen's size, as Surface::Image and ScreenPixels give it.
using Pixels = std::vector<Colour>;
// The pixels of `area`, row by row.
Pixels AreaOf(const Pixels& screen, const ScreenRect& area);
// How many pixels of `area` are `colour`.
int CountColour(const Pixels& screen, Colour colour, const ScreenRect& area = kWholeScreen);

// Where two pictures differ within `area`: how many pixels, and the smallest
// rectangle holding them all (of no size when they are the same).
struct Difference {
  int pixels = 0;
  ScreenRect bounds{0, 0, 0, 0};
};
Difference Compare(const Pixels& a, const Pixels& b, const ScreenRect& area = kWholeScreen);
// Whether `inner` lies wholly within `outer`, and whether two rectangles share a pixel.
inline bool Within(const ScreenRect& inner, const ScreenRect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.Right() <= outer.Right() &&
         inner.Bottom() <= outer.Bottom();
}
inline bool Overlap(const ScreenRect& a, const ScreenRect& b) {
  return a.left < b.Right() && b.left < a.Right() && a.top < b.Bottom() && b.top < a.Bottom();
}

}  // namespace pelmot::testing
