#include "main/app.h"

#include <chrono>
#include <ctime>
#include <iostream>
#include <sstream>

#include "app/game_host.h"
#include "game/dialog_queue.h"
#include "game/game.h"
#include "flow/input.h"
#include "platform/common/text_factory.h"
#include "platform/common/clock.h"
#include "platform/common/codepage.h"
#include "platform/common/files.h"
#include "platform/headless/headless_services.h"
#include "platform/common/instance_lock.h"
#include "platform/message_box.h"
#include "platform/common/mci_player.h"
#include "platform/common/movie_decoder.h"
#include "platform/common/paths.h"
#include "platform/common/picload.h"
#include "platform/common/picture_service.h"
#include "platform/common/write_behind.h"
#include "platform/sdl/desktop_message.h"
#include "platform/sdl/sdl_window.h"
#include "shell/movie.h"
#include "shell/screen.h"
#include "app/script_runner.h"
#include "shell/shutdown.h"
#include "shell/startup.h"
#include "shell/startup_checks.h"
#include "app/story_setup.h"

namespace pelmot {
namespace {

// Decoded pictures are kept in memory, decoded ahead of need, and kept
// packed on disk below the user's cache folder for the next run.
PictureServiceSettings PlayingPictureSettings() { return {kDefaultPictureBudget, DefaultPictureCacheFolder()}; }

// The folders to use; a relative $XDG_DATA_HOME is ignored with a warning.
GamePaths ResolvePaths(const Options& o) {
  if (!o.dataDir.empty()) return {o.dataDir, ContentFolder(o)};
  std::string warning;
  GamePaths paths{DefaultDataRoot(warning), ContentFolder(o)};
  if (!warning.empty()) std::cerr << "pelmot: warning: " << warning << "\n";
  return paths;
}

// Without a font the game's own box would show blocks: the desktop's box
// says it where there is one.
void TellNoFont(const std::string& why, Dialogs& boxes) {
  const StartUpProblem problem = NoFont(why);
  std::cerr << problem.forTerminal << std::endl;
  if (!ShowDesktopMessage("PELMOT", problem.forPlayer)) boxes.ShowMessage(problem.forPlayer);
}

// The boxes opened before the game started, answered before it starts.
void ShowBoxesAlone(SdlWindow& window, DialogQueue& boxes) {
  if (!boxes.Open()) return;
  BoxesOnly pump(boxes);
  window.Run(pump);
}

// Says in the window and on standard error what start-up found wrong; false
// when the game cannot start at all.
bool SayStartUpProblems(Files& files, const GamePaths& paths, const std::string& fontProblem,
                        DialogQueue& boxes) {
  if (!fontProblem.empty()) TellNoFont(fontProblem, boxes);
  if (auto missing = MissingContentFolder(files, paths.content)) {
    TellProblem(*missing, boxes, std::cerr);
    return false;
  }
  if (auto unusable = UnusableDataFolder(files, paths.dataRoot)) TellProblem(*unusable, boxes, std::cerr);
  return true;
}

// Whatever ended the game, the seen flags reach the disk; a failure
// among them that no box told is told on standard error.
void FinishWrites(Game& game) {
  game.services.files.FinishLaterWrites();
  if (auto failure = game.services.files.TakeLaterWriteFailure(); failure && !game.seenFlagsWarned)
    std::cerr << "pelmot: cannot write the data file " << failure->path << ": " << failure->error << "\n";
}

}  // namespace

std::string ContentFolder(const Options& options) {
  return options.contentDir.empty() ? ExecutableFolder() : options.contentDir;
}

int RunWindowed(const Options& options) {
  const GamePaths paths = ResolvePaths(options);
  SystemFiles systemFiles;
  WriteBehindFiles files(systemFiles);
  FileInstanceLock lock;
  if (!ClaimSingleInstance(files, paths.dataRoot, lock)) return 0;  // another copy runs
  SdlWindow window;
  std::string error;
  if (!window.Open("PELMOT", error)) {
    std::cerr << "pelmot: cannot open a window: " << error << "\n";
    return 1;
  }
  SystemClock clock;
  SteadyClock steady;
  Cp932CodePage codePage;
  PictureService pictures(PlayingPictureSettings());
  std::string fontProblem;
  std::unique_ptr<TextEngine> text = MakeWindowFont(&fontProblem);
  DialogQueue boxes(text.get());
  const bool canStart = SayStartUpProblems(files, paths, fontProblem, boxes);
  ShowBoxesAlone(window, boxes);
  if (!canStart) return 1;
  MciPlayer multimedia(boxes, [&steady] { return steady.NowMs(); });
  Services services{clock, boxes, window, multimedia, pictures, *text, files, codePage, lock, steady};
  Game game(services, paths);
  multimedia.AttachWindow(kMainPicHandle, game.form.MainPic);
  std::ostringstream problems;
  if (!InstallStory(game, problems)) {
    // A player who started the game from the desktop sees no terminal.
    std::cerr << problems.str();
    boxes.ShowMessage("シナリオに問題があるため、ゲームを始められません。\n" + ScenarioPath(paths.content) +
                      "\npelmot --check-content で問題の一覧を確かめてください。");
    ShowBoxesAlone(window, boxes);
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
  GameHost host(game, &boxes, &multimedia);
  window.Run(host);
  FinishWrites(game);
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
  // Every message box's text goes to standard error as it comes up.
  HeadlessDialogs dialogs(std::cerr);
  SystemFiles systemFiles;
  WriteBehindFiles files(systemFiles);
  if (auto missing = MissingContentFolder(files, paths.content)) {
    std::cerr << missing->forTerminal << "\n";
    return kScriptCannotStart;
  }
  FileInstanceLock lock;
  if (!ClaimSingleInstance(files, paths.dataRoot, lock)) {
    // Unlike a second window, a script that did not run must not pass.
    std::cerr << "pelmot: the game already runs on the data root " << paths.dataRoot
              << "; nothing was played (give each run a --data-dir of its own)\n";
    return kScriptDataRootLocked;
  }
  HeadlessClock clock;
  Cp932CodePage codePage;
  HeadlessDisplay display;
  HeadlessMultimedia multimedia(dialogs);  // checks the movie; shows nothing
  PictureService pictures(PlayingPictureSettings());
  std::string fontProblem;
  std::unique_ptr<TextEngine> text = MakeWindowFont(&fontProblem);
  if (!fontProblem.empty()) TellProblem(NoFont(fontProblem), dialogs, std::cerr);
  if (auto unusable = UnusableDataFolder(files, paths.dataRoot)) TellProblem(*unusable, dialogs, std::cerr);
  Services services{clock, dialogs, display, multimedia, pictures, *text, files, codePage, lock, clock};
  Game game(services, paths);
  if (!InstallStory(game, std::cerr)) return kScriptCannotStart;
  if (options.trace) game.trace = &std::cerr;
  StartUp(game);
  AfterEvent(game);
  HeadlessScriptHooks hooks(clock, dialogs);
  const int result = RunScript(game, hooks, commands, name, {std::cout, std::cerr});
  FinishWrites(game);
  return result;
}

}  // namespace pelmot
