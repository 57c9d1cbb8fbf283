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
  game_ = std::make_unique<Game>(services_, GamePaths{root, root + "/content"});
  auto scenes = std::make_unique<TestScenes>();
  scenes_ = scenes.get();
  game_->scenes = std::move(scenes);
  game_->form.MainPic.visible = true;
  game_->form.Msg.fontPixels = 24;
  game_->form.CMenu.fontPixels = 24;
  game_->form.MsgWk.fontPixels = 24;
  game_->form.MsgMk.fontPixels = 24;
  game_->state.ClickAdvances = true;
  game_->state.SysPic[0].MutableImage().assign(800 * 600, kWhite);
}

void TestGame::Start() {
  StartUp(*game_);
  AfterEvent(*game_);
}

bool TestGame::Pick(int row) {
  if (game_->state.ClickAdvances || !game_->form.MainPic.enabled) return false;
  auto p = PickPoint(*game_, row);
  if (!p) return false;
  Move(p->x, p->y);
  Click(p->x, p->y);
  return true;
}

}  // namespace pelmot::testing
