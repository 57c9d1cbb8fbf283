// The picture part of a click that shows a new picture, when look-ahead had
// 10 ms for it: CPU time of the event thread only, median and 99th
// percentile. Beside it, one picture decoded on the event thread (no hint),
// and the decoders alone: PNG, the packed copy on disk, and a copy of pixels in memory.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "platform/common/picture_service.h"

namespace pelmot {
namespace {

const std::string kPictures = std::string(PELMOT_CONTENT_DIR) + "/PELMOTPIC";
// Pictures 1 ... 134: far more than the budget holds, so each is new.
constexpr int kFirst = 1, kCount = 134;

double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

void Report(benchmark::State& state, std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  if (ms.empty()) return;
  state.counters["median_ms"] = ms[ms.size() / 2];
  state.counters["p99_ms"] = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
}

void BM_NewPictureAfterTenMsOfLookAhead(benchmark::State& state) {
  PictureService service({kDefaultPictureBudget, ""});
  Surface target;
  std::vector<double> ms;
  int n = 0;
  for (auto _ : state) {
    const int number = kFirst + n++ % kCount;
    state.PauseTiming();
    service.Prefetch(number, kPictures);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    state.ResumeTiming();
    const double start = ThreadCpuMs();
    service.PicLoad(target, number, kPictures);
    ms.push_back(ThreadCpuMs() - start);
  }
  Report(state, ms);
}
BENCHMARK(BM_NewPictureAfterTenMsOfLookAhead)->Iterations(300)->Unit(benchmark::kMillisecond);

void BM_NewPictureWithoutLookAhead(benchmark::State& state) {
  PictureService service({kDefaultPictureBudget, ""});
  Surface target;
  std::vector<double> ms;
  int n = 0;
  for (auto _ : state) {
    const double start = ThreadCpuMs();
    service.PicLoad(target, kFirst + n++ % kCount, kPictures);
    ms.push_back(ThreadCpuMs() - start);
  }
  Report(state, ms);
}
BENCHMARK(BM_NewPictureWithoutLookAhead)->Iterations(150)->Unit(benchmark::kMillisecond);

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
    if (state.range(0) == 0) DecodePictureFile(path, picture, error);
    else if (state.range(0) == 1) picture = *disk.Load(path, stamp, std::move(picture.pixels), scratch);
    PlacePicture(picture, target);
    benchmark::DoNotOptimize(target.Image().data());
  }
  std::filesystem::remove_all(cache);
}
BENCHMARK(BM_Decode)->ArgsProduct({{0, 1, 2}, {0, 1}})->ArgNames({"png_disk_memory", "noisy"})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pelmot

BENCHMARK_MAIN();
