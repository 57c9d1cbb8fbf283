// The packed copies' side of pictures: how soon the look-ahead has every
// picture a choice hinted ready in memory (wall time from the hints, packed
// copies written meanwhile), and what naming a copy by its source's bytes
// costs: hashing one source, and reading a copy back with and without the
// hash remembered from earlier in the run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <random>
#include <thread>
#include <vector>

#include "measure.h"
#include "platform/common/picture_service.h"

namespace pelmot {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const std::string kPictures = std::string(PELMOT_CONTENT_DIR) + "/PELMOTPIC";

// A folder of its own below the temporary folder, emptied on entry and exit.
struct ScratchFolder {
  explicit ScratchFolder(const std::string& name) : path(fs::temp_directory_path() / name) {
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~ScratchFolder() { fs::remove_all(path); }
  std::string path;
};

// A full-screen picture of noise: about 1.4 MB of PNG that does not pack,
// larger than any real picture.
std::string NoisyPicture(const std::string& folder) {
  std::mt19937 random(7);
  std::vector<Colour> pixels(std::size_t{kScreenWidth} * kScreenHeight);
  for (Colour& p : pixels) p = random() & 0xFFFFFF;
  const std::string path = folder + "/noise.png";
  SavePng(pixels, kScreenWidth, kScreenHeight, path);
  return path;
}

bool AllInMemory(PictureService& service, const std::vector<std::string>& paths) {
  const auto kept = service.CachedPaths();
  for (const std::string& path : paths)
    if (std::find(kept.begin(), kept.end(), path) == kept.end()) return false;
  return true;
}

// Three pictures hinted at once, as at a choice, on a first run: wall
// milliseconds until the last of them is in memory. Arg 1: packed copies on
// disk, each written on the way; 0: none.
void BM_HintsAtAChoice(benchmark::State& state) {
  const std::vector<int> numbers{3, 4, 6};
  std::vector<std::string> paths;
  for (int n : numbers) paths.push_back(PicturePath(kPictures, n));
  std::vector<double> ms;
  for (auto _ : state) {
    state.PauseTiming();
    ScratchFolder cache("pelmot-hint-bench");
    {
      PictureService service({kDefaultPictureBudget, state.range(0) ? cache.path : ""});
      state.ResumeTiming();
      const auto start = Clock::now();
      for (int n : numbers) service.Prefetch(n, kPictures);
      while (!AllInMemory(service, paths)) std::this_thread::sleep_for(std::chrono::microseconds(100));
      ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
      state.PauseTiming();
    }
    state.ResumeTiming();
  }
  const bench::Spread spread = bench::SpreadOf(ms);
  state.counters["median_ms"] = spread.median;
  state.counters["p99_ms"] = spread.p99;
  state.counters["load"] = bench::LoadAverage();
}
BENCHMARK(BM_HintsAtAChoice)->Arg(0)->Arg(1)->Iterations(40)->Unit(benchmark::kMillisecond);

// Naming a copy: reading a source and hashing its bytes. Arg 0: a default
// picture; 1: full-screen noise (about 1.4 MB).
void BM_KeyOfASource(benchmark::State& state) {
  ScratchFolder folder("pelmot-key-bench");
  const std::string path = state.range(0) ? NoisyPicture(folder.path) : PicturePath(kPictures, 5);
  std::string scratch;
  for (auto _ : state) benchmark::DoNotOptimize(PictureKeyOf(path, scratch));
  state.counters["source_bytes"] = static_cast<double>(fs::file_size(path));
}
BENCHMARK(BM_KeyOfASource)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A copy read back: arg 0 with its source's key remembered from earlier in
// the run (every later read), 1 with the key found anew (a run's first read
// of that picture); second arg as above.
void BM_CopyReadBack(benchmark::State& state) {
  ScratchFolder folder("pelmot-copy-bench");
  const std::string path = state.range(1) ? NoisyPicture(folder.path) : PicturePath(kPictures, 5);
  const SourceStamp stamp = *StampOf(path);
  DecodedPicture picture;
  std::string error;
  if (!DecodePictureFile(path, picture, error)) return state.SkipWithError(error.c_str());
  std::optional<DiskPictureCache> disk(std::in_place, folder.path + "/cache");
  disk->Store(path, stamp, picture);
  std::string scratch;
  for (auto _ : state) {
    if (state.range(0)) {
      state.PauseTiming();
      disk.emplace(folder.path + "/cache");
      state.ResumeTiming();
    }
    auto loaded = disk->Load(path, stamp, picture.pixels, scratch);
    if (!loaded) return state.SkipWithError("no copy");
    picture = std::move(*loaded);
  }
}
BENCHMARK(BM_CopyReadBack)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"key_anew", "noisy"})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pelmot

BENCHMARK_MAIN();
