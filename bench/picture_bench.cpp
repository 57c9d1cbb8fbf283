// The picture part of a click that shows a new picture, when look-ahead had
// 10 ms for it: CPU time of the event thread only, median and 99th
// percentile. Beside it, one picture decoded on the event thread (no hint),
// and the decoders alone: PNG, the packed copy on disk, and a copy of pixels in memory.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "measure.h"
#include "platform/common/picture_service.h"

namespace pelmot {
namespace {

const std::string kPictures = std::string(PELMOT_CONTENT_DIR) + "/PELMOTPIC";
// Pictures 1 ... 134: far more than the budget holds, so each is new.
constexpr int kFirst = 1, kCount = 134;

using bench::ThreadCpuMs;

void Report(benchmark::State& state, const std::vector<double>& ms) {
  if (ms.empty()) return;
  const bench::Spread spread = bench::SpreadOf(ms);
  state.counters["median_ms"] = spread.median;
  state.counters["p99_ms"] = spread.p99;
}

// A new picture, hinted `lookAheadMs` before it is needed (0: not hinted).
void BM_NewPicture(benchmark::State& state, int lookAheadMs) {
  PictureService service({kDefaultPictureBudget, ""});
  Surface target;
  std::vector<double> ms;
  int n = 0;
  for (auto _ : state) {
    const int number = kFirst + n++ % kCount;
    if (lookAheadMs > 0) {
      state.PauseTiming();
      service.Prefetch(number, kPictures);
      std::this_thread::sleep_for(std::chrono::milliseconds(lookAheadMs));
      state.ResumeTiming();
    }
    const double start = ThreadCpuMs();
    service.PicLoad(target, number, kPictures);
    ms.push_back(ThreadCpuMs() - start);
  }
  Report(state, ms);
}
BENCHMARK_CAPTURE(BM_NewPicture, AfterTenMsOfLookAhead, 10)->Iterations(300)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NewPicture, WithoutLookAhead, 0)->Iterations(150)->Unit(benchmark::kMillisecond);

// The decoders alone, on one picture: arg 0 PNG, 1 the packed copy on disk, 2 a copy
// of already decoded pixels.
void BM_Decode(benchmark::State& state) {
  const std::string path = state.range(1) ? std::string(PELMOT_NOISY_PICTURE) : PicturePath(kPictures, 5);
  const std::string cache = std::filesystem::temp_directory_path() / "pelmot-picture-bench";
  DiskPictureCache disk(cache);
  const SourceStamp stamp = *StampOf(path);
  DecodedPicture picture;
  std::string error;
  if (!DecodePictureFile(path, picture, error)) return state.SkipWithError(error.c_str());
  disk.Store(path, stamp, picture);
  Surface target;
  std::string scratch;
  for (auto _ : state) {
    if (state.range(0) == 0)
      DecodePictureFile(path, picture, error);
    else if (state.range(0) == 1)
      picture = *disk.Load(path, stamp, std::move(picture.pixels), scratch);
    PlacePicture(picture, target);
    benchmark::DoNotOptimize(target.Image().data());
  }
  std::filesystem::remove_all(cache);
}
BENCHMARK(BM_Decode)
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->ArgNames({"png_disk_memory", "noisy"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pelmot

BENCHMARK_MAIN();
