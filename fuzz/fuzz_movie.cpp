// The logo movie: the movie helper's decoding, run in-process so that the
// fuzzer sees its coverage: opened, and its first pictures decoded into a
// block of the helper's size.
#include <fcntl.h>
#include <unistd.h>

#include <vector>

#include "fuzz_input.h"
#include "platform/ffmpeg/ffmpeg_movie.h"
#include "platform/movie_protocol.h"

namespace {
constexpr int kFramesPerInput = 8;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = pelmot::fuzz::WriteScratchFile("LOGO.avi", pelmot::fuzz::Bytes(data, size));
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  std::string error;
  pelmot::ffmpeg::MoviePtr movie = pelmot::ffmpeg::OpenMovie(fd, error);
  if (!movie) return 0;
  static std::vector<std::uint32_t> pixels(pelmot::movie_protocol::kPictureBytes / sizeof(std::uint32_t));
  for (int i = 0; i < kFramesPerInput; ++i) {
    int width = 0, height = 0;
    std::int64_t timeMs = 0;
    if (pelmot::ffmpeg::NextPicture(*movie, width, height, timeMs, error) <= 0) break;
    if (pelmot::movie_protocol::FitsTheWindow(width, height))
      pelmot::ffmpeg::HeldPicture(*movie, pixels.data(), width, height);
  }
  return 0;
}
