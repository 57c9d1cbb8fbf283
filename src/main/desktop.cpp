#include "main/desktop.h"

#include <chrono>
#include <ctime>
#include <iostream>
#include <sstream>

#include "app/live_reload.h"
#include "app/script_runner.h"
#include "app/session.h"
#include "game/dialog_queue.h"
#include "main/import_recovery.h"
#include "platform/common/clock.h"
#include "platform/common/codepage.h"
#include "platform/common/content_watcher.h"
#include "platform/common/files.h"
#include "platform/common/instance_lock.h"
#include "platform/common/mci_player.h"
#include "platform/common/movie_decoder.h"
#include "platform/common/paths.h"
#include "platform/common/picture_service.h"
#include "platform/common/po_catalogs.h"
#include "platform/common/text_factory.h"
#include "platform/common/write_behind.h"
#include "platform/headless/headless_services.h"
#include "platform/headless/silent_aids.h"
#include "platform/sdl/desktop_aids.h"
#include "platform/sdl/desktop_message.h"
#include "platform/sdl/sdl_window.h"
#include "platform/ui_text.h"
#include "shell/startup.h"
#include "shell/startup_checks.h"

namespace pelmot {
namespace {

// Decoded pictures are kept in memory, decoded ahead of need, and kept
// packed on disk below the user's cache folder for the next run.
PictureServiceSettings PlayingPictureSettings() { return {kDefaultPictureBudget, DefaultPictureCacheFolder()}; }

// Without a font the game's own box would show blocks: the desktop's box
// says it where there is one.
void TellNoFont(const StartUpProblem& problem, Dialogs& boxes) {
  std::cerr << problem.forTerminal << std::endl;
  if (!ShowDesktopMessage(Ui(UiText::window_title), problem.forPlayer)) boxes.ShowMessage(problem.forPlayer);
}

// The boxes opened before the game started, answered before it starts.
void ShowBoxesAlone(SdlWindow& window, DialogQueue& boxes) {
  if (!boxes.Open()) return;
  BoxesOnly pump(boxes);
  window.Run(pump);
}

// For measuring start-up: when the first picture reached the screen (in
// microseconds since the epoch), and the processor time spent until then by
// all threads (in microseconds). Then each present, counted.
void TraceFirstFrame(SdlWindow& window) {
  window.OnPresent([](long long presents) { std::cerr << "Presented " << presents << '\n'; });
  window.OnFirstPresent([] {
    using namespace std::chrono;
    const auto cpu = static_cast<long long>(std::clock()) * 1000000 / CLOCKS_PER_SEC;
    std::cerr << "FirstFrame " << duration_cast<microseconds>(system_clock::now().time_since_epoch()).count() << " "
              << cpu << std::endl;
  });
}

bool ParseScriptFile(const std::string& path, const std::string& name, std::vector<ScriptCommand>& commands) {
  ScriptError parseError;
  bool parsed;
  if (path == "-") {
    parsed = ParseScript(std::cin, name, commands, parseError);
  } else {
    std::string error;
    auto text = ReadWholeFile(path, kMaxScriptBytes, error);
    if (!text) {
      std::cerr << "pelmot: cannot read the script " << error << "\n";
      return false;
    }
    std::istringstream file(*text);
    parsed = ParseScript(file, name, commands, parseError);
  }
  if (!parsed) std::cerr << parseError.message << "\n";
  return parsed;
}

// With --author the content folder is watched; without it nothing is.
std::unique_ptr<InotifyContentWatcher> WatchForAuthor(const Options& options, const GamePaths& paths) {
  if (!options.author) return nullptr;
  auto watch = std::make_unique<InotifyContentWatcher>(paths.content, WatchedContentFolders(), [] { SdlWindow::Wake(); });
  std::string error;
  if (!watch->Ok(error)) std::cerr << "pelmot: warning: " << error << "; edits show after a restart\n";
  return watch;
}

std::ostream* TraceStream(const Options& options) { return options.trace ? &std::cerr : nullptr; }

// The logo's decoder, its helper program started now so that its libraries
// load while the window opens. One that cannot start is started again when
// the logo opens, which then says why it cannot play.
std::unique_ptr<MovieDecoder> LogoDecoderStartedEarly() {
  auto decoder = std::make_unique<MovieDecoder>();
  std::string ignored;
  decoder->StartHelper(MovieHelperPath(), ignored);
  return decoder;
}

}  // namespace

GamePaths ResolvePaths(const Options& o) {
  if (!o.dataDir.empty()) return {o.dataDir, ContentFolder(o)};
  std::string warning;
  GamePaths paths{DefaultDataRoot(warning), ContentFolder(o)};
  if (!warning.empty()) std::cerr << "pelmot: warning: " << warning << "\n";
  return paths;
}

std::string ContentFolder(const Options& options) {
  return options.contentDir.empty() ? DefaultContentFolder() : options.contentDir;
}

int RunWindowed(const Options& options) {
  SdlWindow::PrepareEnvironment();
  const GamePaths paths = ResolvePaths(options);
  SystemFiles systemFiles;
  WriteBehindFiles files(systemFiles);
  FileInstanceLock lock;
  if (!ClaimSingleInstance(files, paths.dataRoot, lock)) return 0;  // another copy runs
  FinishCutShortImport(paths.dataRoot, std::cerr);
  std::unique_ptr<MovieDecoder> logoDecoder = LogoDecoderStartedEarly();
  SdlWindow window;
  std::string error;
  if (!window.Open(Ui(UiText::window_title), error)) {
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
  const bool canStart = TellStartUpProblems(files, paths, fontProblem, boxes, std::cerr,
                                            [&boxes](const StartUpProblem& p) { TellNoFont(p, boxes); });
  ShowBoxesAlone(window, boxes);
  if (!canStart) return 1;
  MciPlayer multimedia(boxes, [&steady] { return steady.NowMs(); });
  multimedia.UseStartedDecoder(std::move(logoDecoder));
  Services services{clock, boxes, window, multimedia, pictures, *text, files, codePage, lock, steady};
  PoCatalogs catalogs(paths.content);
  if (!LanguageIsThere(&catalogs, options.language, std::cerr)) return 2;
  DesktopAids aids(std::cerr);
  GameSession session(services, paths,
                      {.boxes = &boxes,
                       .movie = &multimedia,
                       .trace = TraceStream(options),
                       .catalogs = &catalogs,
                       .aids = &aids,
                       .language = options.language,
                       .author = options.author});
  if (!session.InstallStory(std::cerr)) {
    // A player who started the game from the desktop sees no terminal.
    boxes.ShowMessage(ScenarioProblemText(paths.content, true));
    ShowBoxesAlone(window, boxes);
    return 1;
  }
  if (options.trace) TraceFirstFrame(window);
  std::unique_ptr<InotifyContentWatcher> watch = WatchForAuthor(options, paths);
  session.host().SetContentWatch(watch.get());
  session.Start();
  if (!options.warp.empty() && !session.WarpAtStart(options.warp, std::cerr)) return 1;
  window.Run(session.host());
  session.Finish(std::cerr);
  return 0;
}

int RunHeadless(const Options& options) {
  std::vector<ScriptCommand> commands;
  const std::string name = options.script == "-" ? "<stdin>" : options.script;
  if (!ParseScriptFile(options.script, name, commands)) return kScriptBad;
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
  FinishCutShortImport(paths.dataRoot, std::cerr);
  HeadlessClock clock;
  Cp932CodePage codePage;
  HeadlessDisplay display;
  HeadlessMultimedia multimedia(dialogs);  // checks the movie; shows nothing
  PictureService pictures(PlayingPictureSettings());
  std::string fontProblem;
  std::unique_ptr<TextEngine> text = MakeWindowFont(&fontProblem);
  TellStartUpProblems(files, paths, fontProblem, dialogs, std::cerr);
  Services services{clock, dialogs, display, multimedia, pictures, *text, files, codePage, lock, clock};
  PoCatalogs catalogs(paths.content);
  if (!LanguageIsThere(&catalogs, options.language, std::cerr)) return kScriptCannotStart;
  SilentAids aids;
  GameSession session(services, paths,
                      {.trace = TraceStream(options),
                       .catalogs = &catalogs,
                       .aids = &aids,
                       .language = options.language,
                       .author = options.author});
  if (!session.InstallStory(std::cerr)) return kScriptCannotStart;
  session.Start();
  if (!options.warp.empty() && !session.WarpAtStart(options.warp, std::cerr)) return kScriptCannotStart;
  HeadlessScriptHooks hooks(clock, dialogs);
  const int result = RunScript(session.host(), hooks, commands, name, {std::cout, std::cerr});
  session.Finish(std::cerr);
  return result;
}

}  // namespace pelmot
