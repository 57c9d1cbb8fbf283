// The picture part of a click that shows a new picture, when look-ahead had
// 10 ms for it: CPU time of the event thread only, median and 99th
// percentile. Beside it, one picture decoded on the event thread (no hint),
// and the decoders alone: PNG, the packed copy on disk, and a copy of pixels in memory;
// and PNG pictures decoded by libpng and by our own reader.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "measure.h"
#include "platform/common/files.h"
#include "platform/common/picture_service.h"
#include "platform/common/png_decode.h"

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
      picture = *disk.Load(path, stamp, picture.pixels, scratch);
    PlacePicture(picture, target);
    benchmark::DoNotOptimize(target.Image().data());
  }
  std::filesystem::remove_all(cache);
}
BENCHMARK(BM_Decode)
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->ArgNames({"png_disk_memory", "noisy"})
    ->Unit(benchmark::kMillisecond);

// One PNG picture decoded from its bytes in memory, libpng (through
// SDL_image) beside our reader: CPU time per picture, median and 99th
// percentile, over every picture of a set in turn. Arg set 0: the default
// pictures; 1: the peer's noisy pictures, from the folder that
// bench/peer_content.sh makes, named by PELMOT_PEER_CONTENT. Each picture is
// checked to decode to libpng's pixels first.
std::vector<std::string> PngFilesOf(const std::string& folder) {
  std::vector<std::string> files;
  std::error_code error;
  std::string unread;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error))
    if (entry.path().extension() == ".png")
      if (auto bytes = ReadWholeFile(entry.path().string(), kMaxPictureBytes, unread))
        files.push_back(std::move(*bytes));
  return files;
}

void BM_PngReader(benchmark::State& state) {
  const bool ours = state.range(0) == 1;
  std::string folder = kPictures;
  if (state.range(1) == 1) {
    const char* peer = std::getenv("PELMOT_PEER_CONTENT");
    if (!peer) return state.SkipWithError("set PELMOT_PEER_CONTENT to a folder bench/peer_content.sh made");
    folder = std::string(peer) + "/PELMOTPIC";
  }
  const std::vector<std::string> files = PngFilesOf(folder);
  if (files.empty()) return state.SkipWithError(("no PNG pictures in " + folder).c_str());
  DecodedPicture picture, reference;
  std::string error;
  for (const std::string& file : files) {
    if (DecodePng(file, picture, error) != PngResult::kDecoded) return state.SkipWithError(error.c_str());
    if (!DecodeWithSdl(file, reference, error) || reference.pixels != picture.pixels)
      return state.SkipWithError("our reader's pixels differ from libpng's");
  }
  std::vector<double> ms;
  std::size_t n = 0;
  for (auto _ : state) {
    const std::string& file = files[n++ % files.size()];
    const double start = ThreadCpuMs();
    if (ours)
      DecodePng(file, picture, error);
    else
      DecodeWithSdl(file, picture, error);
    ms.push_back(ThreadCpuMs() - start);
    benchmark::DoNotOptimize(picture.pixels.data());
  }
  Report(state, ms);
  state.counters["pictures"] = static_cast<double>(files.size());
  state.counters["load"] = bench::LoadAverage();
}
BENCHMARK(BM_PngReader)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"ours", "peer"})
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pelmot

BENCHMARK_MAIN();
