// An author's reload: from the scenario file's change on disk to the line on
// screen drawn again with its new words. Each round writes the whole
// scenario (a temporary file renamed over it, as the game's own files are
// written), waits for the content folder's inotify watch to report it,
// reads, checks and installs the whole scenario, draws the page again
// through the history and composes the client area, as the window does
// before presenting it. Played on a copy of the build's content folder, at
// a day scene's line (background, status display, message window).
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "app/live_reload.h"
#include "app/script_runner.h"
#include "app/session.h"
#include "app/state_json.h"
#include "measure.h"
#include "platform/common/codepage.h"
#include "platform/common/content_watcher.h"
#include "platform/common/files.h"
#include "platform/common/instance_lock.h"
#include "platform/common/picture_service.h"
#include "platform/common/text_factory.h"
#include "platform/headless/headless_services.h"

namespace pelmot {
namespace {

namespace fs = std::filesystem;

// Two choices in, two lines after the second pick (as tests/reload_test.cpp).
constexpr const char* kToADayLine =
    "click 5 5\nclick 5 5\npick 0\nshift down\ntick 100000\nshift up\nclick 400 300\npick 1\n"
    "shift down\ntick 100000\nshift up\nclick 400 300\npick 0\nclick 400 300\nclick 400 300\n";

class ReloadBenchGame {
 public:
  ReloadBenchGame() : dir_(fs::temp_directory_path() / ("pelmot-reload-bench-" + std::to_string(::getpid()))) {
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "content");
    for (const char* part : {"scenario.txt", "PELMOTPIC", "SYSPIC", "LOGO.avi"})
      fs::copy(fs::path(PELMOT_CONTENT_DIR) / part, dir_ / "content" / part, fs::copy_options::recursive);
    session_ = std::make_unique<GameSession>(services_, GamePaths{(dir_ / "data").string(), Content()});
    if (!session_->InstallStory(std::cerr)) throw std::runtime_error("no sound scenario in " + Content());
    session_->Start();
    std::istringstream script(kToADayLine);
    std::vector<ScriptCommand> commands;
    ScriptError error;
    std::ostringstream out;
    if (!ParseScript(script, "bench", commands, error) ||
        RunScript(session_->host(), hooks_, commands, "bench", {out, std::cerr}) != kScriptOk)
      throw std::runtime_error("the bench's way to a day line does not play");
    original_ = ReadWholeFile(Scenario(), kMaxScenarioBytes, error_).value_or("");
    line_ = ShownWords();
    if (original_.find("| " + line_ + "\n") == std::string::npos)
      throw std::runtime_error("the line on screen is not in the scenario: " + line_);
    watch_ = std::make_unique<InotifyContentWatcher>(Content(), WatchedContentFolders(), nullptr);
  }
  ~ReloadBenchGame() {
    watch_.reset();
    session_->Finish(std::cerr);
    session_.reset();
    fs::remove_all(dir_);
  }

  std::string Content() const { return (dir_ / "content").string(); }
  std::string Scenario() const { return Content() + "/scenario.txt"; }

  // The line on screen with the round's mark after it, written; then the
  // watch, the reload and the composed picture. False when the new words
  // are not on screen.
  bool EditAndShow(int round) {
    std::string text = original_;
    const std::string wanted = line_ + " 改稿" + std::to_string(round);
    text.replace(text.find("| " + line_ + "\n"), line_.size() + 3, "| " + wanted + "\n");
    if (!ReplaceFile(Scenario(), text, error_)) return false;
    ContentChanges changes;
    while (!changes.Names("scenario.txt")) {
      if (!watch_->Wait()) return false;
      changes = watch_->Take();
    }
    ReloadContent(session_->host(), changes);
    session_->host().Compose(pixels_);
    return ShownWords() == wanted;
  }

 private:
  std::string ShownWords() {
    for (const auto& [name, value] : StateFields(session_->host()))
      if (name == "ShownText") return value.substr(1, value.size() - 2);
    return "";
  }

  fs::path dir_;
  std::string error_;
  HeadlessClock clock_;
  HeadlessDialogs dialogs_{std::cerr};
  HeadlessDisplay display_;
  HeadlessMultimedia multimedia_{dialogs_};
  PictureService pictures_{{kDefaultPictureBudget, (dir_ / "picture-cache").string()}};
  std::unique_ptr<TextEngine> font_ = MakeWindowFont();
  SystemFiles files_;
  Cp932CodePage codePage_;
  FileInstanceLock lock_;
  Services services_{clock_, dialogs_, display_, multimedia_, pictures_, *font_, files_, codePage_, lock_, clock_};
  std::unique_ptr<GameSession> session_;
  HeadlessScriptHooks hooks_{clock_, dialogs_};
  std::string original_;
  std::string line_;  // the words of the line on screen, a row of its own
  std::unique_ptr<InotifyContentWatcher> watch_;
  std::vector<Colour> pixels_ = std::vector<Colour>(static_cast<std::size_t>(kScreenWidth) * kScreenHeight);
};

// Wall time per reload, from the write to the composed picture; the median
// and the 99th percentile in the counters, with the load average.
void BM_ReloadToRedrawnLine(benchmark::State& state) {
  ReloadBenchGame game;
  std::vector<double> samples;
  int round = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (!game.EditAndShow(++round)) {
      state.SkipWithError("the edited line did not show");
      return;
    }
    samples.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  const bench::Spread spread = bench::SpreadOf(samples);
  state.counters["median_ms"] = spread.median;
  state.counters["p99_ms"] = spread.p99;
  state.counters["load_average"] = bench::LoadAverage();
}
BENCHMARK(BM_ReloadToRedrawnLine)->Iterations(50)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pelmot

BENCHMARK_MAIN();
