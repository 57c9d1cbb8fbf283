// A movie file's pictures decoded with FFmpeg's libraries. Used by the movie
// helper program (and the fuzzer), never linked into the game itself.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace pelmot::ffmpeg {

struct Movie;
struct MovieDeleter {
  void operator()(Movie* movie) const;
};
using MoviePtr = std::unique_ptr<Movie, MovieDeleter>;

// A movie read from `fd` (an open regular file, which the movie takes over
// and closes, also on failure), or null with a reason in `error`.
MoviePtr OpenMovie(int fd, std::string& error);

// Frames per second as the file declares it (0 when it does not).
double FrameRate(const Movie& movie);

// 1: the next picture is decoded and held; its size (as decoded, whatever
// the file's header said) goes to `width` and `height`, its time to
// `timeMs`. 0: the end. -1: a damaged picture, `error` says why.
int NextPicture(Movie& movie, int& width, int& height, std::int64_t& timeMs, std::string& error);

// The held picture into `pixels`, width x height words 0x00RRGGBB, scaled
// if the held picture has another size: nothing is written outside them.
void HeldPicture(Movie& movie, std::uint32_t* pixels, int width, int height);

}  // namespace pelmot::ffmpeg
