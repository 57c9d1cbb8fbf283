// The browser has no other processes: the movie is decoded in the page,
// one picture at a time as the frame callback asks for it (a 630 x 220
// MPEG-4 picture takes a few milliseconds).
extern "C" {
#include <libavutil/log.h>
}

#include <cstring>

#include "platform/common/files.h"
#include "platform/common/movie_decoder.h"
#include "platform/ffmpeg/ffmpeg_movie.h"
#include "platform/movie_protocol.h"
#include "platform/movie_times.h"

namespace pelmot {

struct MovieDecoder::Impl {
  ffmpeg::MoviePtr movie;
  PictureTimes times;
};

MovieDecoder::MovieDecoder() : impl_(std::make_unique<Impl>()) {}
MovieDecoder::~MovieDecoder() = default;

bool MovieDecoder::StartHelper(const std::string&, std::string& error) {
  error = "the page decodes its movies itself";
  return false;
}

bool MovieDecoder::Open(const std::string& path, std::string& error) {
  Close();
  // The page's console gets FFmpeg's errors only, not a note per picture.
  av_log_set_level(AV_LOG_ERROR);
  auto file = OpenRegularFile(path, kMaxMovieBytes, error);
  if (!file) return false;
  impl_->movie = ffmpeg::OpenMovie(file->Release(), error);
  return impl_->movie != nullptr;
}

bool MovieDecoder::IsOpen() const { return impl_->movie != nullptr; }
void MovieDecoder::Close() {
  impl_->movie.reset();
  impl_->times.Reset();
}
double MovieDecoder::FrameRate() const { return impl_->movie ? ffmpeg::FrameRate(*impl_->movie) : 0; }

bool MovieDecoder::NextFrame(Surface& picture, std::int64_t& timeMs, std::string& error) {
  error.clear();
  if (!impl_->movie) return false;
  int width = 0, height = 0;
  if (ffmpeg::NextPicture(*impl_->movie, width, height, timeMs, error) != 1) return false;
  // A movie plays inside the window: a picture larger than it is refused.
  if (!movie_protocol::FitsTheWindow(width, height)) {
    error = "the movie's pictures are " + std::to_string(width) + " x " + std::to_string(height) +
            ", larger than the window";
    return false;
  }
  if (!impl_->times.Check(timeMs, error)) return false;
  if (picture.Width() != width || picture.Height() != height) picture.Resize(width, height);
  std::uint32_t* out = picture.MutableImage().data();
  ffmpeg::HeldPicture(*impl_->movie, out, width, height);
  // The padding byte must stay 0: the raster operations work on whole words.
  const std::size_t count = static_cast<std::size_t>(width) * height;
  for (std::size_t i = 0; i < count; ++i) out[i] &= 0x00FFFFFFu;
  return true;
}

}  // namespace pelmot
