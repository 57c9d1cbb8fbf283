#include "platform/common/mci_player.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/common/movie_decoder.h"
#include "platform/ui_text.h"

namespace pelmot {
namespace {

// Why a movie file cannot be played, in the words of the message box.
std::string FailureReason(const std::string& file, const std::string& decoderError) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return MissingFileReason();
  return UiFormat(UiText::movie_cannot_play, {decoderError});
}

// Draws on the surface's screen copy only, leaving its kept image alone.
void BlitToScreen(Surface& target, int x, int y, int w, int h, const Surface& from, int sx, int sy) {
  const bool persistent = target.Persistent();
  target.SetPersistent(false);
  target.BitBlt(x, y, w, h, from, sx, sy, Rop::SrcCopy);
  target.SetPersistent(persistent);
}

}  // namespace

struct MciPlayer::Movie {
  std::string file;
  std::unique_ptr<MovieDecoder> decoder;
  Surface* target = nullptr;
  // Each picture keeps the size it was decoded at.
  Surface shown{0, 0};                      // the picture on screen now
  Surface pending{0, 0};                    // the next picture, decoded ahead
  int coveredWidth = 0, coveredHeight = 0;  // what the pictures shown so far covered
  std::int64_t pendingMs = 0;
  bool hasPending = false;
  bool playing = false;
  std::int64_t startMs = 0;
  int framesShown = 0;
  int picturesTaken = 0;

  // Decodes the next picture into `pending`: the only one decoded ahead of
  // the screen (the helper works on one more). At the end, or on a damaged
  // picture or one the helper should not have sent, the movie simply has no
  // more; the reason is returned ("" at the end).
  std::string DecodeAhead() {
    std::string error;
    hasPending = decoder->NextFrame(pending, pendingMs, error);
    if (hasPending) {
      ++picturesTaken;
    } else {
      decoder->Close();  // the last picture stays; the decoder's memory goes
    }
    return error;
  }
};

MciPlayer::MciPlayer(Dialogs& dialogs, std::function<std::int64_t()> nowMs)
    : dialogs_(dialogs), nowMs_(std::move(nowMs)) {}

MciPlayer::~MciPlayer() = default;

void MciPlayer::UseStartedDecoder(std::unique_ptr<MovieDecoder> started) { started_ = std::move(started); }

void MciPlayer::AttachWindow(long long handle, Surface& surface) { windows_[handle] = &surface; }

void MciPlayer::SendString(const std::string& command) { Run(command); }

void MciPlayer::Execute(const std::string& command) {
  if (auto failure = Run(command)) dialogs_.ShowMessage(*failure);
}

std::optional<std::string> MciPlayer::Run(const std::string& command) {
  std::string error;
  const auto c = ParseMciCommand(command, error);
  if (!c) return command + "\n\n" + error;
  switch (c->verb) {
    case MciCommand::Verb::kOpen: return Open(*c);
    case MciCommand::Verb::kPlay: return Play(c->device);
    case MciCommand::Verb::kClose: Close(c->device); return std::nullopt;
  }
  return std::nullopt;
}

std::optional<std::string> MciPlayer::Open(const MciCommand& c) {
  const std::string name = c.Name();
  Close(name);
  failedOpens_.erase(name);
  auto movie = std::make_unique<Movie>();
  movie->file = c.device;
  movie->decoder = started_ ? std::move(started_) : std::make_unique<MovieDecoder>();
  std::string error;
  if (movie->decoder->Open(c.device, error)) {
    // The first picture is decoded at once: a file that opens but holds no
    // readable picture fails here, like one that does not open.
    error = movie->DecodeAhead();
    if (!movie->hasPending && error.empty()) error = "no pictures";
  }
  if (!movie->hasPending) {
    std::string message = MovieFailureMessage(c.device, FailureReason(c.device, error));
    failedOpens_[name] = message;
    return message;
  }
  if (c.parent) {
    auto w = windows_.find(*c.parent);
    if (w != windows_.end()) movie->target = w->second;
  }
  movies_[name] = std::move(movie);
  return std::nullopt;
}

std::optional<std::string> MciPlayer::Play(const std::string& name) {
  auto it = movies_.find(name);
  if (it == movies_.end()) {
    auto failed = failedOpens_.find(name);
    if (failed != failedOpens_.end()) return failed->second;
    return MovieFailureMessage(name, UnknownDeviceReason());
  }
  Movie& movie = *it->second;
  if (movie.playing || !movie.hasPending) return std::nullopt;  // playing, or already at its end
  movie.playing = true;
  movie.startMs = nowMs_() - movie.pendingMs;
  DrawDue(movie, nowMs_());  // the first picture shows at once
  return std::nullopt;
}

void MciPlayer::Close(const std::string& name) {
  if (name == "all") {
    while (!movies_.empty()) Close(movies_.begin()->first);
    failedOpens_.clear();
    return;
  }
  // Closing a device that never opened is quietly nothing: the open already
  // told what went wrong, once.
  failedOpens_.erase(name);
  auto it = movies_.find(name);
  if (it == movies_.end()) return;
  Movie& movie = *it->second;
  if (movie.target && movie.framesShown > 0) {
    // The movie's window goes; the surface shows its own picture there again.
    BlitToScreen(*movie.target, 0, 0, movie.coveredWidth, movie.coveredHeight, *movie.target, 0, 0);
  }
  movies_.erase(it);
}

bool MciPlayer::DrawDue(Movie& movie, std::int64_t now) {
  if (!movie.playing) return false;
  bool due = false;
  // Behind time, pictures are skipped rather than shown late, a few per
  // drawing: what stays due is drawn on the next frame, which comes at once.
  for (int taken = 0; taken < kMostPicturesPerDrawing && movie.hasPending && movie.startMs + movie.pendingMs <= now;
       ++taken) {
    std::swap(movie.shown, movie.pending);
    due = true;
    movie.DecodeAhead();
  }
  if (!movie.hasPending) movie.playing = false;
  if (!due) return false;
  ++movie.framesShown;
  if (!movie.target) return false;
  movie.coveredWidth = std::max(movie.coveredWidth, movie.shown.Width());
  movie.coveredHeight = std::max(movie.coveredHeight, movie.shown.Height());
  BlitToScreen(*movie.target, 0, 0, movie.shown.Width(), movie.shown.Height(), movie.shown, 0, 0);
  return true;
}

bool MciPlayer::DrawDue() {
  const std::int64_t now = nowMs_();
  bool drew = false;
  for (auto& [name, movie] : movies_) drew |= DrawDue(*movie, now);
  return drew;
}

std::optional<std::int64_t> MciPlayer::MillisToNextDrawing() {
  std::optional<std::int64_t> next;
  const std::int64_t now = nowMs_();
  for (auto& [name, movie] : movies_) {
    if (!movie->playing || !movie->hasPending) continue;
    const std::int64_t wait = std::max<std::int64_t>(0, movie->startMs + movie->pendingMs - now);
    if (!next || wait < *next) next = wait;
  }
  return next;
}

bool MciPlayer::IsOpen(const std::string& name) const { return movies_.count(name) != 0; }

bool MciPlayer::IsPlaying(const std::string& name) const {
  auto it = movies_.find(name);
  return it != movies_.end() && it->second->playing;
}

int MciPlayer::FramesShown(const std::string& name) const {
  auto it = movies_.find(name);
  return it == movies_.end() ? 0 : it->second->framesShown;
}

int MciPlayer::PicturesTaken(const std::string& name) const {
  auto it = movies_.find(name);
  return it == movies_.end() ? 0 : it->second->picturesTaken;
}

}  // namespace pelmot
