// The whole story played headless, as a player skipping with Shift held and
// picking: a new game to ending 10 (the longest way, 96 steps in its last
// scene). Reports steps per second and the slowest single event (one tick
// or one pick, with every step it runs at once).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <random>

#include "game/game.h"
#include "flow/input.h"
#include "flow/pick.h"
#include "game/run_flow.h"
#include "platform/common/codepage.h"
#include "platform/common/files.h"
#include "platform/common/instance_lock.h"
#include "platform/headless/headless_services.h"
#include "platform/common/picload.h"
#include "platform/common/text_factory.h"
#include "scenes/story_runner.h"
#include "shell/screen.h"
#include "app/story_setup.h"

namespace pelmot {
namespace {

// The picks of a route from the first prologue choice to ending 10.
const std::vector<int> kPicksToEndingTen = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                            1, 1, 1, 1, 1, 1, 1, 0, 1, 0, 0, 1};

// Counts every scene step the story runs, nested ones included.
class CountingScenes : public SceneRunner {
 public:
  explicit CountingScenes(std::shared_ptr<SceneRunner> inner) : inner_(std::move(inner)) {}
  void Run(Game& game, ProcedureLabel procedure, int sceneNo) override {
    ++steps;
    inner_->Run(game, procedure, sceneNo);
  }
  long steps = 0;

 private:
  std::shared_ptr<SceneRunner> inner_;
};

class StoryBenchGame {
 public:
  StoryBenchGame()
      : dataRoot_(std::filesystem::temp_directory_path() / ("pelmot-bench-" + std::to_string(std::random_device{}()))),
        font_(MakeWindowFont()),
        services_{clock_, dialogs_, display_, multimedia_, pictures_, *font_, files_, codePage_, lock_, clock_},
        game_(services_, GamePaths{dataRoot_.string(), PELMOT_CONTENT_DIR}) {
    std::filesystem::create_directories(dataRoot_ / "TORMVEL" / "PELMOT");
    game_.state.WinDir = dataRoot_.string();
    if (!InstallStory(game_, std::cerr)) throw std::runtime_error("no sound scenario in " PELMOT_CONTENT_DIR);
    auto counting = std::make_unique<CountingScenes>(std::move(game_.scenes));
    scenes_ = counting.get();
    game_.scenes = std::move(counting);
    MainForm& f = game_.form;
    for (Surface* s : {&f.Msg, &f.MsgWk, &f.MsgMk, &f.CMenu}) s->fontPixels = 24;
    f.MainPic.visible = true;
    pictures_.PicLoad(game_.state.SysPic[0], 0, game_.SystemPictureFolder());
  }
  ~StoryBenchGame() {
    std::error_code ignored;
    std::filesystem::remove_all(dataRoot_, ignored);
  }

  // A new game from scene 0, as the title's "ゲームスタート" starts it.
  void NewGame() {
    GameState& s = game_.state;
    s.FlowMode = kModeScene;
    s.StepNo = {};
    s.SceneNo = 0;
    s.ShownPic = kNoPicture;
    s.PendingText.clear();
    s.SaveRecord.Params = {0, 0, 0, 0};
    s.SaveRecord.DayNo = 1;
    s.SaveRecord.Condition = 0;
    s.EndingNo() = 6;  // ending 10 follows an earlier ending
    for (int n = 0; n < 135; ++n) s.CgSeen[n] = 1;
    RunFlow(game_);
    AfterEvent(game_);
  }

  // One event: a pick when a choice waits, else a skip tick with Shift held.
  void Event(std::size_t& pick) {
    GameState& s = game_.state;
    if (!s.ClickAdvances && game_.form.MainPic.enabled) {
      std::optional<Point> p = PickPoint(game_, kPicksToEndingTen.at(pick++));
      RouteMouseDown(game_, kLeftButton, 0, game_.form.MainPic.left + p->x, game_.form.MainPic.top + p->y);
    } else {
      Form_KeyDown(game_, kKeyShift, 1);  // the held key repeats
      if (game_.form.SkipTimer.enabled) SkipTimer_Timer(game_);
    }
    AfterEvent(game_);
  }

  bool AtTitle() const { return game_.state.FlowMode == kModeTitle; }
  int EndingNo() const { return game_.state.EndingNo(); }
  long Steps() const { return scenes_->steps; }

 private:
  std::filesystem::path dataRoot_;
  HeadlessClock clock_;
  HeadlessDialogs dialogs_;
  HeadlessDisplay display_;
  HeadlessMultimedia multimedia_;
  PngPictureLoader pictures_;
  std::unique_ptr<TextEngine> font_;
  SystemFiles files_;
  Cp932CodePage codePage_;
  FileInstanceLock lock_;
  Services services_;
  Game game_;
  CountingScenes* scenes_ = nullptr;
};

// Wall time can include the machine's other work; CPU time cannot, so both
// are reported for the slowest event, with the 99th percentile of wall time.
void BM_WholeStoryToEndingTen(benchmark::State& state) {
  StoryBenchGame g;
  std::vector<double> wallUs;
  double slowestCpuUs = 0;
  const long stepsBefore = g.Steps();
  for (auto _ : state) {
    g.NewGame();
    std::size_t pick = 0;
    while (!g.AtTitle()) {
      const std::clock_t cpuStart = std::clock();
      const auto start = std::chrono::steady_clock::now();
      g.Event(pick);
      const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
      wallUs.push_back(took.count());
      slowestCpuUs = std::max(slowestCpuUs, 1e6 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
    }
    if (g.EndingNo() != 10) state.SkipWithError("the route did not reach ending 10");
  }
  std::sort(wallUs.begin(), wallUs.end());
  const double steps = static_cast<double>(g.Steps() - stepsBefore);
  state.counters["steps"] = benchmark::Counter(steps / static_cast<double>(state.iterations()));
  state.counters["steps_per_s"] = benchmark::Counter(steps, benchmark::Counter::kIsRate);
  state.counters["slowest_event_us"] = wallUs.back();
  state.counters["slowest_event_cpu_us"] = slowestCpuUs;
  state.counters["p99_event_us"] = wallUs[wallUs.size() * 99 / 100];
}
BENCHMARK(BM_WholeStoryToEndingTen)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace pelmot

BENCHMARK_MAIN();
