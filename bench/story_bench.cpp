// The whole story played headless, as a player skipping with Shift held and
// picking: a new game to ending 10 (the longest way, 96 steps in its last
// scene). Counts the lines shown (pages of text the text window drew, not
// the scene steps run, which nest), and reports them per second of wall
// time and per second of processor time, for a first play (no picture seen
// before, so each new one is marked seen and written) and a replay (every
// picture already seen), with the pictures' packed copies on disk as a
// first session leaves them (made by an untimed play, then repacked tight);
// and a first play on a new install, where every picture is decoded from
// its PNG. Each figure comes with the machine's load average.
//
// PELMOT_BENCH_CONTENT=DIR plays another content folder (for example one
// made by bench/peer_content.sh) instead of the build's.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <random>
#include <thread>

#include "app/story_setup.h"
#include "comforts/comforts.h"
#include "flow/input.h"
#include "flow/mode_units.h"
#include "flow/pick.h"
#include "game/game.h"
#include "game/run_flow.h"
#include "measure.h"
#include "platform/common/codepage.h"
#include "platform/common/files.h"
#include "platform/common/instance_lock.h"
#include "platform/common/picture_service.h"
#include "platform/common/text_factory.h"
#include "platform/common/write_behind.h"
#include "platform/headless/headless_services.h"
#include "present/system_pictures.h"
#include "scenes/story_runner.h"
#include "shell/screen.h"
#include "storymap/story_map.h"

namespace pelmot {
namespace {

using bench::LoadAverage;
using bench::ProcessCpuSeconds;
using bench::ThreadCpuMs;

// The picks of a route from the first prologue choice to ending 10.
const std::vector<int> kPicksToEndingTen = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 0, 0, 1};

std::string ContentFolder() {
  const char* chosen = std::getenv("PELMOT_BENCH_CONTENT");
  return chosen && *chosen ? chosen : PELMOT_CONTENT_DIR;
}

// Counts every scene step the story runs, nested ones included.
class CountingScenes : public SceneRunner {
 public:
  explicit CountingScenes(std::shared_ptr<SceneRunner> inner) : inner_(std::move(inner)) {}
  void Run(Game& game, ProcedureLabel procedure, int sceneNo) override {
    ++steps;
    inner_->Run(game, procedure, sceneNo);
  }
  // The story's structure, for the pictures' look-ahead.
  const Story* Script() const override { return inner_->Script(); }
  long steps = 0;

 private:
  std::shared_ptr<SceneRunner> inner_;
};

// The pictures as the game loads them: the memory cache with look-ahead and
// the packed copies on disk, in a folder of the run's own (so the first play
// of the run decodes every PNG, and later ones read the copies).
PictureServiceSettings BenchPictureSettings(const std::filesystem::path& dataRoot) {
  return {kDefaultPictureBudget, (dataRoot / "picture-cache").string()};
}

class StoryBenchGame {
 public:
  StoryBenchGame()
      : dataRoot_(std::filesystem::temp_directory_path() / ("pelmot-bench-" + std::to_string(std::random_device{}()))),
        font_(MakeWindowFont()),
        services_{clock_, dialogs_, display_, multimedia_, pictures_, *font_, files_, codePage_, lock_, clock_},
        game_(services_, GamePaths{dataRoot_.string(), ContentFolder()}, StandardModes()) {
    std::filesystem::create_directories(dataRoot_ / "TORMVEL" / "PELMOT");
    game_.state.WinDir = dataRoot_.string();
    if (!InstallStory(game_, std::cerr)) throw std::runtime_error("no sound scenario in " + ContentFolder());
    std::shared_ptr<SceneRunner>& runner = Scenes(game_).runner;
    auto counting = std::make_shared<CountingScenes>(std::move(runner));
    scenes_ = counting.get();
    runner = std::move(counting);
    MainForm& f = game_.form;
    for (Surface* s : {&f.Msg, &f.CMenu}) s->fontPixels = 24;
    f.MsgInk.fontPixels = 24;
    f.MainPic.visible = true;
    LoadSystemPicture(game_, kDimmingMask);  // as the game loads it at start
  }
  ~StoryBenchGame() {
    std::error_code ignored;
    std::filesystem::remove_all(dataRoot_, ignored);
  }

  // A new game from scene 0, as the title's "ゲームスタート" starts it;
  // on a first play no picture counts as seen yet.
  void NewGame(bool firstPlay) {
    GameState& s = game_.state;
    s.FlowMode = kModeScene;
    s.StepNo = {};
    s.SceneNo = 0;
    s.ShownPic = kNoPicture;
    s.PendingText.clear();
    s.SaveRecord.Params = {0, 0, 0, 0};
    s.SaveRecord.DayNo = 1;
    s.SaveRecord.Condition = 0;
    for (int n = 0; n < 135; ++n) s.CgSeen[n] = firstPlay ? 0 : 1;
    s.EndingNo() = 6;  // ending 10 follows an earlier ending
    RunFlow(game_);
    AfterEvent(game_);
  }

  // One event: a pick when a choice waits, else a skip tick with Shift held.
  void Event(std::size_t& pick) {
    if (!PickIfAChoiceWaits(pick)) {
      Form_KeyDown(game_, kKeyShift, 1);  // the held key repeats
      if (game_.form.SkipTimer.enabled) SkipTimer_Timer(game_);
    }
    AfterEvent(game_);
  }

  // One play, untimed, that leaves the packed copies on disk as a first
  // session leaves them: written, and repacked tight while idle.
  void MakePackedCopies() {
    NewGame(true);
    std::size_t pick = 0;
    while (!AtTitle()) Event(pick);
    pictures_.WaitIdle();
    pictures_.WaitTightened();
  }

  // Forgets the packed copies on disk, as on a new install.
  void DropDiskCopies() {
    std::error_code ignored;
    std::filesystem::remove_all(dataRoot_ / "picture-cache", ignored);
  }

  // One click as a player makes it: on the option a choice waits for, else
  // anywhere in the window to go on.
  void Click(std::size_t& pick) {
    if (!PickIfAChoiceWaits(pick)) RouteMouseDown(game_, kLeftButton, 0, 400, 300);
    AfterEvent(game_);
  }

  // Clicks the route's next option when a choice waits for one.
  bool PickIfAChoiceWaits(std::size_t& pick) {
    if (game_.state.ClickAdvances || !game_.form.MainPic.enabled) return false;
    std::optional<Point> p = PickPoint(game_, kPicksToEndingTen.at(pick++));
    RouteMouseDown(game_, kLeftButton, 0, game_.form.MainPic.left + p->x, game_.form.MainPic.top + p->y);
    return true;
  }
  int PictureOnScreen() const { return game_.mainWorkPicture; }
  Game& game() { return game_; }
  PictureService::Counts PictureCounts() { return pictures_.counts(); }

  bool AtTitle() const { return game_.state.FlowMode == kModeTitle; }
  int EndingNo() const { return game_.state.EndingNo(); }
  long Steps() const { return scenes_->steps; }
  long LinesShown() const { return game_.linesShown; }

 private:
  std::filesystem::path dataRoot_;
  HeadlessClock clock_;
  HeadlessDialogs dialogs_;
  HeadlessDisplay display_;
  HeadlessMultimedia multimedia_;
  PictureService pictures_{BenchPictureSettings(dataRoot_)};
  std::unique_ptr<TextEngine> font_;
  SystemFiles systemFiles_;
  WriteBehindFiles files_{systemFiles_};  // the seen flags written behind, as the game writes them
  Cp932CodePage codePage_;
  FileInstanceLock lock_;
  Services services_;
  Game game_;
  CountingScenes* scenes_ = nullptr;
};

// Wall time can include the machine's other work; CPU time cannot, so both
// are reported for the whole run, with the slowest event's wall time and
// the 99th percentile. Events are timed by the wall clock alone: reading
// the process's CPU time is a system call that would cost a tenth of an
// event.
void BM_WholeStoryToEndingTen(benchmark::State& state, bool firstPlay, bool newInstall) {
  StoryBenchGame g;
  if (!newInstall) g.MakePackedCopies();
  const PictureService::Counts countsBefore = g.PictureCounts();
  std::vector<double> wallUs;
  const long stepsBefore = g.Steps();
  const long linesBefore = g.LinesShown();
  const double loadBefore = LoadAverage();
  double wallSeconds = 0;
  double cpuSeconds = 0;
  for (auto _ : state) {
    if (newInstall) g.DropDiskCopies();
    const double runCpuStart = ProcessCpuSeconds();
    const auto runStart = std::chrono::steady_clock::now();
    g.NewGame(firstPlay);
    std::size_t pick = 0;
    while (!g.AtTitle()) {
      const auto start = std::chrono::steady_clock::now();
      g.Event(pick);
      const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
      wallUs.push_back(took.count());
    }
    wallSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - runStart).count();
    cpuSeconds += ProcessCpuSeconds() - runCpuStart;
    if (g.EndingNo() != 10) state.SkipWithError("the route did not reach ending 10");
  }
  std::sort(wallUs.begin(), wallUs.end());
  const double plays = static_cast<double>(state.iterations());
  const double lines = static_cast<double>(g.LinesShown() - linesBefore);
  state.counters["lines"] = lines / plays;
  state.counters["steps_run"] = static_cast<double>(g.Steps() - stepsBefore) / plays;
  state.counters["lines_per_wall_s"] = lines / wallSeconds;
  state.counters["lines_per_cpu_s"] = lines / cpuSeconds;
  state.counters["cpu_us_per_line"] = 1e6 * cpuSeconds / lines;
  state.counters["slowest_event_us"] = wallUs.back();
  state.counters["p99_event_us"] = wallUs[wallUs.size() * 99 / 100];
  // Where the pictures came from: kept in memory (look-ahead's work), waited
  // for while the worker decoded, decoded on the event thread.
  const PictureService::Counts counts = g.PictureCounts();
  state.counters["pictures_from_memory"] = (counts.fromMemory - countsBefore.fromMemory) / plays;
  state.counters["pictures_waited"] = (counts.waited - countsBefore.waited) / plays;
  state.counters["pictures_decoded_now"] = (counts.decodedNow - countsBefore.decodedNow) / plays;
  state.counters["pictures_read_from_copies"] = (counts.fromDisk - countsBefore.fromDisk) / plays;
  state.counters["copies_tightened"] = counts.tightened;
  state.counters["load_before"] = loadBefore;
  state.counters["load_after"] = LoadAverage();
}
// A player reading: each click comes 10 ms after the last one ended (the
// time look-ahead has; a reader gives it seconds), and the clicks that
// bring a new picture are timed: processor time of the event thread, which
// is what the player waits for. On a new install every picture comes from
// its PNG; otherwise an untimed play first makes the packed copies on disk.
void ReadToTheEnd(StoryBenchGame& g, std::vector<double>* ms) {
  g.NewGame(true);
  std::size_t pick = 0;
  while (!g.AtTitle()) {
    if (ms) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const int before = g.PictureOnScreen();
    const double start = ThreadCpuMs();
    g.Click(pick);
    const double took = ThreadCpuMs() - start;
    if (ms && g.PictureOnScreen() != before) ms->push_back(took);
  }
}

void BM_ClickToANewPicture(benchmark::State& state, bool newInstall) {
  StoryBenchGame g;
  std::vector<double> ms;
  if (!newInstall) g.MakePackedCopies();
  for (auto _ : state) {
    if (newInstall) g.DropDiskCopies();
    ReadToTheEnd(g, &ms);
  }
  if (ms.empty()) return state.SkipWithError("no click brought a new picture");
  state.counters["clicks"] = static_cast<double>(ms.size());
  const PictureService::Counts counts = g.PictureCounts();
  state.counters["pictures_from_memory"] = counts.fromMemory;
  state.counters["pictures_decoded_now"] = counts.decodedNow;
  const bench::Spread spread = bench::SpreadOf(ms);
  state.counters["median_cpu_ms"] = spread.median;
  state.counters["p99_cpu_ms"] = spread.p99;
  state.counters["load"] = LoadAverage();
}
// Going back through the history of a whole play to ending 10 (every skip
// tick and pick an entry): the time to return to an entry picked at random,
// the route chart's opening, and the bytes the history takes.
void BM_GoBackInAWholePlay(benchmark::State& state) {
  StoryBenchGame g;
  Comforts comforts(g.game());
  ComfortState& c = comforts.State();
  g.NewGame(false);
  std::size_t pick = 0;
  comforts.EventEnds();
  while (!g.AtTitle()) {
    g.Event(pick);
    comforts.EventEnds();
  }
  const int entries = static_cast<int>(c.history.Entries().size());
  std::mt19937 random(7);
  std::vector<double> backUs, chartUs;
  for (auto _ : state) {
    const int entry = std::uniform_int_distribution<int>(0, entries - 1)(random);
    auto start = std::chrono::steady_clock::now();
    c.history.GoBackTo(g.game(), entry);
    comforts.EventEnds();
    backUs.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    InputEvent f3{InputEvent::Kind::kKeyDown};
    f3.key = kVkF3;
    start = std::chrono::steady_clock::now();
    for (InputTaker* taker : comforts.Takers())
      if (taker->Take(f3)) break;
    chartUs.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    if (!c.routeChart.open) state.SkipWithError("the route chart did not open");
    c.routeChart = {};
  }
  std::sort(backUs.begin(), backUs.end());
  std::sort(chartUs.begin(), chartUs.end());
  state.counters["entries"] = entries;
  state.counters["history_bytes"] = static_cast<double>(c.history.Bytes());
  state.counters["go_back_median_us"] = backUs[backUs.size() / 2];
  state.counters["go_back_max_us"] = backUs.back();
  state.counters["chart_open_median_us"] = chartUs[chartUs.size() / 2];
  state.counters["chart_open_max_us"] = chartUs.back();
}
BENCHMARK(BM_GoBackInAWholePlay)->Iterations(300)->Unit(benchmark::kMillisecond);

// The story map's words of a line that holds a million page marks (a
// damaged or hostile scenario): one pass, so milliseconds, not minutes.
void BM_MapWordsOfAMillionMarks(benchmark::State& state) {
  std::string line;
  for (int i = 0; i < 1000000; ++i) line += "@r";
  for (auto _ : state) benchmark::DoNotOptimize(storymap::WithoutMarks(line));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(line.size()));
}
BENCHMARK(BM_MapWordsOfAMillionMarks)->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(BM_ClickToANewPicture, new_install, true)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ClickToANewPicture, packed_copies, false)->Iterations(2)->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(BM_WholeStoryToEndingTen, first_play, true, false)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(BM_WholeStoryToEndingTen, replay, false, false)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(BM_WholeStoryToEndingTen, new_install, true, true)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace pelmot

BENCHMARK_MAIN();
