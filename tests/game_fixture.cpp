#include "game_fixture.h"

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

#include "flow/pick.h"
#include "shell/startup.h"

namespace pelmot::testing {

TempDir::TempDir() {
  std::random_device rd;
  auto dir = std::filesystem::temp_directory_path() / ("pelmot-test-" + std::to_string(rd()) + std::to_string(rd()));
  std::filesystem::create_directories(dir);
  path_ = dir.string();
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

CommandRun RunCommand(const std::string& command) {
  TempDir scratch;
  const std::string errFile = scratch.path() + "/err.txt";
  CommandRun run;
  FILE* pipe = ::popen((command + " 2>" + errFile).c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) run.out.append(buffer, n);
  const int status = ::pclose(pipe);
  std::ostringstream text;
  text << std::ifstream(errFile).rdbuf();
  run.err = text.str();
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TestGame::TestGame() : TestGame("") {}

TestGame::TestGame(const std::string& dataRoot, Boxes boxesFrom)
    : services_{clock,    boxesFrom == Boxes::kInGame ? static_cast<Dialogs&>(boxes) : dialogs,
                display,  multimedia,
                pictures, text,
                files,    codePage,
                lock,     clock} {
  std::string root = dataRoot;
  if (root.empty()) {
    ownDir_ = std::make_unique<TempDir>();
    root = ownDir_->path();
  }
  session_ = std::make_unique<GameSession>(services_, GamePaths{root, root + "/content"},
                                           SessionParts{.boxes = boxesFrom == Boxes::kInGame ? &boxes : nullptr});
  Game& g = game();
  auto scenes = std::make_unique<TestScenes>();
  scenes_ = scenes.get();
  Scenes(g).runner = std::move(scenes);
  g.form.MainPic.visible = true;
  g.form.Msg.fontPixels = 24;
  g.form.CMenu.fontPixels = 24;
  g.form.MsgInk.fontPixels = 24;
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

// ---- Shared by the tests: files, a plain scene and pixel helpers ------------

#include <algorithm>
#include <fstream>
#include <iterator>

#include "present/pictures.h"
#include "present/text_window.h"

namespace pelmot::testing {

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

void InstallPlainScene(TestGame& t, int choiceStep, const Options& options) {
  t.scenes().procedures[0] = [choiceStep, options](Game& g) {
    const int step = g.state.StepNo[kModeScene];
    if (step == choiceStep) {
      ShowChoice2(g, options);
      return;
    }
    if (step == choiceStep + 1) g.state.SaveRecord.LastChoice = g.state.ChoiceNo;
    ShowEventPic(g, 10 + step, PictureShow::WithNextText);
    ShowText2(g, "台詞" + std::to_string(step));
  };
}

Pixels AreaOf(const Pixels& screen, const ScreenRect& area) {
  Pixels out;
  for (int y = area.top; y < area.Bottom(); ++y) {
    const auto row = screen.begin() + static_cast<std::ptrdiff_t>(y) * kScreenWidth;
    out.insert(out.end(), row + area.left, row + area.Right());
  }
  return out;
}

int CountColour(const Pixels& screen, Colour colour, const ScreenRect& area) {
  const Pixels pixels = AreaOf(screen, area);
  return static_cast<int>(std::count(pixels.begin(), pixels.end(), colour));
}

Difference Compare(const Pixels& a, const Pixels& b, const ScreenRect& area) {
  Difference d;
  int left = kScreenWidth, top = kScreenHeight, right = 0, bottom = 0;
  for (int y = area.top; y < area.Bottom(); ++y)
    for (int x = area.left; x < area.Right(); ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * kScreenWidth + x;
      if (a[i] == b[i]) continue;
      ++d.pixels;
      left = std::min(left, x);
      top = std::min(top, y);
      right = std::max(right, x + 1);
      bottom = std::max(bottom, y + 1);
    }
  if (d.pixels > 0) d.bounds = {left, top, right - left, bottom - top};
  return d;
}

}  // namespace pelmot::testing
