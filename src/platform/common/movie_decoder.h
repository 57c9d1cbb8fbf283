// A movie file's pictures, one after another. The decoding itself (FFmpeg)
// runs in a helper program, started by StartHelper ahead of the movie or by
// Open, and stopped by Close; see platform/movie_protocol.h.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/surface.h"

namespace pelmot {

class MovieDecoder {
 public:
  MovieDecoder();
  ~MovieDecoder();
  MovieDecoder(const MovieDecoder&) = delete;
  MovieDecoder& operator=(const MovieDecoder&) = delete;

  // Starts `program` as the helper before the movie is known, so that its
  // libraries load while the game does other work; the next Open hands it
  // the file. False with a reason when it cannot start (Open then tries the
  // helper beside the program again, and says why it cannot play).
  bool StartHelper(const std::string& program, std::string& error);

  // Opens the file's first video stream; false with a reason in `error`
  // (also when the file is not a regular file, or the helper program is
  // missing, stops, does not answer in time or answers what it should not).
  bool Open(const std::string& path, std::string& error);
  bool IsOpen() const;
  void Close();

  // Frames per second as the file declares it (0 when it does not).
  double FrameRate() const;

  // The next picture into `picture`, resized to the size it was decoded at
  // (never the size the file's header claims), with its time in
  // milliseconds from the start of the movie. False at the end, and with
  // `error` set on a damaged picture, one larger than the window, or a time
  // the pictures cannot have (see platform/movie_times.h).
  bool NextFrame(Surface& picture, std::int64_t& timeMs, std::string& error);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace pelmot
