#include "shell/app.h"

#include <chrono>
#include <ctime>
#include <iostream>
#include <sstream>

#include "flow/game.h"
#include "flow/input.h"
#include "platform/text_factory.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/headless/headless_services.h"
#include "platform/instance_lock.h"
#include "platform/mci_player.h"
#include "platform/movie_decoder.h"
#include "platform/paths.h"
#include "platform/picload.h"
#include "platform/sdl/sdl_window.h"
#include "shell/movie.h"
#include "shell/screen.h"
#include "shell/script_runner.h"
#include "shell/shutdown.h"
#include "shell/startup.h"
#include "shell/story_setup.h"

namespace pelmot {
namespace {

GamePaths ResolvePaths(const Options& o) {
  return {o.dataDir.empty() ? DefaultDataRoot() : o.dataDir, ContentFolder(o)};
}

// The window's events become the handlers of MainForm.
class GameWindow : public WindowEvents {
 public:
  explicit GameWindow(Game& game) : game_(game) {}
  void MouseDown(int button, int shift, int x, int y) override {
    RouteMouseDown(game_, button, shift, x, y);
    AfterEvent(game_);
  }
  void MouseMove(int button, int shift, int x, int y) override {
    RouteMouseMove(game_, button, shift, x, y);
    AfterEvent(game_);
  }
  void KeyDown(int keyCode, int shift) override {
    Form_KeyDown(game_, keyCode, shift);
    AfterEvent(game_);
  }
  void KeyUp(int keyCode, int shift) override {
    Form_KeyUp(game_, keyCode, shift);
    AfterEvent(game_);
  }
  void TimerTick() override {
    if (!game_.form.SkipTimer.enabled) return;
    SkipTimer_Timer(game_);
    AfterEvent(game_);
  }
  void CloseRequested() override {
    Form_QueryUnload(game_);
    AfterEvent(game_);
  }
  bool TimerEnabled() const override { return game_.form.SkipTimer.enabled; }
  int TimerIntervalMs() const override { return game_.form.SkipTimer.intervalMs; }
  bool Finished() const override { return game_.quitRequested; }
  void Compose(std::vector<Colour>& pixels) override { ComposeClientArea(game_, pixels); }

 private:
  Game& game_;
};

}  // namespace

std::string ContentFolder(const Options& options) {
  return options.contentDir.empty() ? ExecutableFolder() : options.contentDir;
}

int RunWindowed(const Options& options) {
  const GamePaths paths = ResolvePaths(options);
  InstanceLock lock;
  if (!ClaimSingleInstance(paths.dataRoot, lock)) return 0;  // another copy runs
  SdlWindow window;
  std::string error;
  if (!window.Open("PELMOT", error)) {
    std::cerr << "pelmot: cannot open a window: " << error << "\n";
    return 1;
  }
  // The movie's decoder loads on a thread of its own while the game starts up.
  PreloadMovieSupport();
  SystemClock clock;
  PngPictureLoader pictures;
  std::unique_ptr<TextEngine> text = MakeWindowFont();
  window.SetTextEngine(text.get());
  MciPlayer multimedia(window, [] {
    using namespace std::chrono;
    return static_cast<std::int64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  });
  Services services{clock, window, window, multimedia, pictures, *text};
  Game game(services, paths);
  multimedia.AttachWindow(kMainPicHandle, game.form.MainPic);
  window.SetTimedDrawing(&multimedia);
  std::ostringstream problems;
  if (!InstallStory(game, problems)) {
    // A player who started the game from the desktop sees no terminal.
    std::cerr << problems.str();
    window.ShowMessage("シナリオに問題があるため、ゲームを始められません。\n" +
                       ScenarioPath(paths.content) + "\npelmot --check-content で問題の一覧を確かめてください。");
    return 1;
  }
  if (options.trace) {
    game.trace = &std::cerr;
    // For measuring start-up: when the first picture reached the screen (in
    // microseconds since the epoch), and the processor time spent until then
    // by all threads (in microseconds).
    window.OnFirstPresent([] {
      using namespace std::chrono;
      const auto cpu = static_cast<long long>(std::clock()) * 1000000 / CLOCKS_PER_SEC;
      std::cerr << "FirstFrame "
                << duration_cast<microseconds>(system_clock::now().time_since_epoch()).count() << " "
                << cpu << std::endl;
    });
  }
  StartUp(game);
  AfterEvent(game);
  GameWindow events(game);
  window.Run(events);
  return 0;
}

int RunHeadless(const Options& options) {
  std::vector<ScriptCommand> commands;
  ScriptError parseError;
  const std::string name = options.script == "-" ? "<stdin>" : options.script;
  bool parsed;
  if (options.script == "-") {
    parsed = ParseScript(std::cin, name, commands, parseError);
  } else {
    std::string error;
    auto text = ReadWholeFile(options.script, kMaxScriptBytes, error);
    if (!text) {
      std::cerr << "pelmot: cannot read the script " << error << "\n";
      return kScriptBad;
    }
    std::istringstream file(*text);
    parsed = ParseScript(file, name, commands, parseError);
  }
  if (!parsed) {
    std::cerr << parseError.message << "\n";
    return kScriptBad;
  }
  const GamePaths paths = ResolvePaths(options);
  InstanceLock lock;
  if (!ClaimSingleInstance(paths.dataRoot, lock)) return 0;  // the game runs on this data root
  PreloadMovieSupport();
  HeadlessClock clock;
  HeadlessDialogs dialogs;
  HeadlessDisplay display;
  HeadlessMultimedia multimedia(dialogs);  // checks the movie; shows nothing
  PngPictureLoader pictures;
  std::unique_ptr<TextEngine> text = MakeWindowFont();
  Services services{clock, dialogs, display, multimedia, pictures, *text};
  Game game(services, paths);
  if (!InstallStory(game, std::cerr)) return 1;
  if (options.trace) game.trace = &std::cerr;
  StartUp(game);
  AfterEvent(game);
  return RunScript(game, clock, dialogs, commands, name, {std::cout, std::cerr});
}

}  // namespace pelmot
