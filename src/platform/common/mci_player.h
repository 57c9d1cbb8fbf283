// The multimedia command layer: the command strings carried out, movies
// decoded with FFmpeg and shown inside the window they name.
//
// A movie opened with "parent <handle>" plays on the screen of the surface
// attached under that handle, at its own size at the surface's top-left
// corner, like a child window over it. Frames go to the screen copy only
// (the kept image is untouched), so closing the movie gives the surface's
// picture back. Pictures come paced by their time stamps; the last one stays
// until the movie is closed.
//
// Everything runs on the caller's thread: the window loop asks
// MillisToNextDrawing() how long it may sleep and calls DrawDue() after.
// One drawing takes only a few pictures from the decoder, however many are
// due: a movie behind its time catches up over the next frames, and the
// game's events are seen between them.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/mci.h"
#include "platform/services.h"
#include "platform/timed_drawing.h"

namespace pelmot {

class MovieDecoder;

class MciPlayer : public Multimedia, public TimedDrawing {
 public:
  // `nowMs`: a steady clock in milliseconds.
  MciPlayer(Dialogs& dialogs, std::function<std::int64_t()> nowMs);
  ~MciPlayer() override;
  MciPlayer(const MciPlayer&) = delete;
  MciPlayer& operator=(const MciPlayer&) = delete;

  // A decoder whose helper was started ahead (MovieDecoder::StartHelper),
  // for the next movie opened; that open ends it when the movie cannot play.
  void UseStartedDecoder(std::unique_ptr<MovieDecoder> started);

  // The surface that a window handle in "parent <handle>" stands for. The
  // surface must be shown (have a screen copy) and outlive the player.
  void AttachWindow(long long handle, Surface& surface) override;

  // A failure is silent: the sender does not look at the result.
  void SendString(const std::string& command) override;
  // A failure shows a message box naming the file and the reason.
  void Execute(const std::string& command) override;
  // Carries out a command; the failure's message, or nothing.
  std::optional<std::string> Run(const std::string& command);

  std::optional<std::int64_t> MillisToNextDrawing() override;
  bool DrawDue() override;

  // Looking in, for tests.
  bool IsOpen(const std::string& name) const;
  bool IsPlaying(const std::string& name) const;
  int FramesShown(const std::string& name) const;
  int PicturesTaken(const std::string& name) const;  // from the decoder, shown or skipped

  // Pictures one drawing takes from the decoder at most.
  static constexpr int kMostPicturesPerDrawing = 4;

 private:
  struct Movie;
  std::optional<std::string> Open(const MciCommand& c);
  std::optional<std::string> Play(const std::string& name);
  void Close(const std::string& name);
  bool DrawDue(Movie& movie, std::int64_t now);

  Dialogs& dialogs_;
  std::function<std::int64_t()> nowMs_;
  std::map<long long, Surface*> windows_;
  std::map<std::string, std::unique_ptr<Movie>> movies_;  // by the name it was opened as
  std::map<std::string, std::string> failedOpens_;        // name -> why, for a later play
  std::unique_ptr<MovieDecoder> started_;
};

}  // namespace pelmot
