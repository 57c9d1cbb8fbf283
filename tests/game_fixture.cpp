#include "game_fixture.h"

#include <random>

#include "flow/pick.h"
#include "shell/startup.h"

namespace pelmot::testing {

TempDir::TempDir() {
  std::random_device rd;
  auto dir = std::filesystem::temp_directory_path() /
             ("pelmot-test-" + std::to_string(rd()) + std::to_string(rd()));
  std::filesystem::create_directories(dir);
  path_ = dir.string();
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

TestGame::TestGame() : TestGame("") {}

TestGame::TestGame(const std::string& dataRoot, Boxes boxesFrom)
    : services_{clock,     boxesFrom == Boxes::kInGame ? static_cast<Dialogs&>(boxes) : dialogs,
                display,   multimedia,
                pictures,  text,
                files,     codePage,
                lock,      clock} {
  std::string root = dataRoot;
  if (root.empty()) {
    ownDir_ = std::make_unique<TempDir>();
    root = ownDir_->path();
  }
  session_ = std::make_unique<GameSession>(services_, GamePaths{root, root + "/content"},
                                           SessionParts{boxesFrom == Boxes::kInGame ? &boxes : nullptr});
  Game& g = game();
  auto scenes = std::make_unique<TestScenes>();
  scenes_ = scenes.get();
  Scenes(g).runner = std::move(scenes);
  g.form.MainPic.visible = true;
  g.form.Msg.fontPixels = 24;
  g.form.CMenu.fontPixels = 24;
  g.form.MsgWk.fontPixels = 24;
  g.form.MsgMk.fontPixels = 24;
  g.state.ClickAdvances = true;
  g.state.SysPic[0].MutableImage().assign(800 * 600, kWhite);
}

void TestGame::Start() { session_->Start(); }

void TestGame::Press(int button, int x, int y) {
  InputEvent e{InputEvent::Kind::kMouseDown};
  e.button = button;
  e.x = x;
  e.y = y;
  host().OnEvent(e);
}

void TestGame::Move(int x, int y) {
  InputEvent e{InputEvent::Kind::kMouseMove};
  e.x = x;
  e.y = y;
  host().OnEvent(e);
}

void TestGame::Key(InputEvent::Kind kind, int key, bool repeat) {
  InputEvent e{kind};
  e.key = key;
  e.repeat = repeat ? 1 : 0;
  host().OnEvent(e);
}

void TestGame::Wheel(int notches) {
  InputEvent e{InputEvent::Kind::kWheel};
  e.wheel = notches;
  host().OnEvent(e);
}

bool TestGame::Pick(int row) {
  if (state().ClickAdvances || !form().MainPic.enabled) return false;
  auto p = PickPoint(game(), row);
  if (!p) return false;
  Move(p->x, p->y);
  Click(p->x, p->y);
  return true;
}

}  // namespace pelmot::testing
