#include "platform/common/movie_decoder.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>

#include "platform/common/descriptor_passing.h"
#include "platform/common/files.h"
#include "platform/common/paths.h"
#include "platform/movie_protocol.h"
#include "platform/movie_times.h"

extern char** environ;

namespace pelmot {
namespace {

using namespace movie_protocol;

// How long the helper may take: to start and read the movie's header (its
// libraries load first), and for each picture. Past that it is stopped and
// the movie cannot play.
constexpr int kOpenTimeoutMs = 5000;
constexpr int kPictureTimeoutMs = 2000;

class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { Reset(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  void Reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_;
};

std::string Reason(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

// A sealed block of one largest picture: the helper can write the pixels
// but cannot shrink it under the game's mapping.
int PictureBlock(std::string& error) {
  const int fd = ::memfd_create("pelmot-movie-picture", MFD_CLOEXEC | MFD_ALLOW_SEALING);
  if (fd < 0) {
    error = Reason("no shared memory for the movie");
    return -1;
  }
  if (::ftruncate(fd, static_cast<off_t>(kPictureBytes)) != 0 ||
      ::fcntl(fd, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_SEAL) != 0) {
    error = Reason("no shared memory for the movie");
    ::close(fd);
    return -1;
  }
  return fd;
}

// A copy of `fd` numbered above the helper's fixed descriptors, so that
// placing them cannot overwrite one with another.
int Above(int fd) { return ::fcntl(fd, F_DUPFD_CLOEXEC, kPictureFd + 1); }

std::string OutOfTurn(std::int32_t status) {
  return "the movie decoder gave an answer it should not (status " + std::to_string(status) + ")";
}

// The helper's own words on a failure, as far as they are plain text: they
// go into a message box.
std::string HelpersReason(Reply& reply) {
  reply.error[sizeof reply.error - 1] = '\0';
  std::string why = reply.error;
  for (char& c : why)
    if (c < ' ' || c > '~') c = '?';
  return why.empty() ? "the movie cannot be decoded" : why;
}

// A picture's reply: a picture that fits the window, at a time that may
// follow the last (the end needs neither).
bool Believable(const Reply& reply, PictureTimes& times, std::string& error) {
  if (reply.status == kEnd) return true;
  if (reply.status != kPicture) {
    error = OutOfTurn(reply.status);
    return false;
  }
  // A movie plays inside the window: a picture larger than it is refused.
  if (!FitsTheWindow(reply.width, reply.height)) {
    error = "the movie's pictures are " + std::to_string(reply.width) + " x " + std::to_string(reply.height) +
            ", larger than the window";
    return false;
  }
  return times.Check(reply.timeMs, error);
}

}  // namespace

struct MovieDecoder::Impl {
  pid_t helper = -1;
  Descriptor channel;
  const std::uint32_t* pixels = nullptr;  // the shared block, read only
  double frameRate = 0;
  bool opened = false;  // the helper has its movie
  bool asked = false;   // the next picture is requested already, decoding while the game waits
  PictureTimes times;

  bool Spawn(const std::string& program, std::string& error);
  bool SendMovie(int fd, std::string& error);
  std::string HowItEnded();
  bool Receive(Reply& reply, int timeoutMs, std::string& error);
  bool Ask();
  bool Request(Reply& reply, std::string& error);

  void Release() {
    channel.Reset();
    if (helper > 0) {
      ::kill(helper, SIGKILL);
      while (::waitpid(helper, nullptr, 0) < 0 && errno == EINTR) {
      }
    }
    helper = -1;
    if (pixels) ::munmap(const_cast<std::uint32_t*>(pixels), kPictureBytes);
    pixels = nullptr;
    frameRate = 0;
    opened = false;
    asked = false;
    times.Reset();
  }
};

// Starts `program` with its end of the socket and the picture block; the
// movie comes later (SendMovie).
bool MovieDecoder::Impl::Spawn(const std::string& program, std::string& error) {
  Descriptor block(PictureBlock(error));
  if (block.get() < 0) return false;
  void* shared = ::mmap(nullptr, kPictureBytes, PROT_READ, MAP_SHARED, block.get(), 0);
  if (shared == MAP_FAILED) {
    error = Reason("no shared memory for the movie");
    return false;
  }
  pixels = static_cast<const std::uint32_t*>(shared);
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
    error = Reason("cannot start the movie decoder");
    return false;
  }
  channel.Reset(ends[0]);
  Descriptor helperEnd(Above(ends[1])), picture(Above(block.get()));
  ::close(ends[1]);
  if (helperEnd.get() < 0 || picture.get() < 0) {
    error = Reason("cannot start the movie decoder");
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, helperEnd.get(), kChannelFd);
  posix_spawn_file_actions_adddup2(&actions, picture.get(), kPictureFd);
  char* const argv[] = {const_cast<char*>(program.c_str()), nullptr};
  const int rc = ::posix_spawn(&helper, program.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  // Only the helper may hold its end: with a copy here, a helper that dies
  // at once would go unseen until the time ran out.
  helperEnd.Reset();
  if (rc != 0) {
    helper = -1;
    error = "movie support is missing: " + program + ": " + std::strerror(rc);
    return false;
  }
  return true;
}

// Hands the helper its movie: the file's descriptor travels over the
// socket, then the helper answers that it opened it.
bool MovieDecoder::Impl::SendMovie(int fd, std::string& error) {
  if (!SendDescriptor(channel.get(), kMovieFile, fd)) {
    error = "the movie decoder stopped" + HowItEnded();
    return false;
  }
  Reply reply;
  if (!Receive(reply, kOpenTimeoutMs, error)) return false;
  if (reply.status != kOpened) {
    error = OutOfTurn(reply.status);
    return false;
  }
  // The rate is only told, never used for pacing: one that makes no sense
  // is as good as none.
  frameRate = std::isfinite(reply.frameRate) && reply.frameRate > 0 ? reply.frameRate : 0;
  opened = true;
  return true;
}

// One reply, whole, within the time; a helper that fails, stops or hangs
// gives a reason instead.
bool MovieDecoder::Impl::Receive(Reply& reply, int timeoutMs, std::string& error) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  auto* bytes = reinterpret_cast<char*>(&reply);
  std::size_t got = 0;
  while (got < sizeof reply) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    pollfd wait{channel.get(), POLLIN, 0};
    const int ready = left.count() > 0 ? ::poll(&wait, 1, static_cast<int>(left.count())) : 0;
    if (ready < 0 && errno == EINTR) continue;
    if (ready == 0) {
      error = "the movie decoder did not answer in time";
      return false;
    }
    const ssize_t n = ready > 0 ? ::recv(channel.get(), bytes + got, sizeof reply - got, 0) : -1;
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = "the movie decoder stopped" + HowItEnded();
      return false;
    }
    got += static_cast<std::size_t>(n);
  }
  switch (reply.status) {
    case kFailed: error = HelpersReason(reply); return false;
    case kOpened:
    case kPicture:
    case kEnd: return true;
    default: error = OutOfTurn(reply.status); return false;
  }
}

// How a helper that hung up ended, when it has ended within a moment (its
// end of the socket closes just before it does): " (exit status N)" or
// " (signal N)"; "" while it still runs.
std::string MovieDecoder::Impl::HowItEnded() {
  constexpr int kTries = 20;
  for (int i = 0; helper > 0 && i < kTries; ++i) {
    int status = 0;
    const pid_t ended = ::waitpid(helper, &status, WNOHANG);
    if (ended == helper) {
      helper = -1;  // reaped: its number may be given to another process
      if (WIFEXITED(status)) return " (exit status " + std::to_string(WEXITSTATUS(status)) + ")";
      if (WIFSIGNALED(status)) return " (signal " + std::to_string(WTERMSIG(status)) + ")";
      return "";
    }
    if (ended < 0 && errno != EINTR) return "";
    ::usleep(5000);
  }
  return "";
}

bool MovieDecoder::Impl::Ask() {
  const char next = kNextPicture;
  asked = ::send(channel.get(), &next, 1, MSG_NOSIGNAL) == 1;
  return asked;
}

bool MovieDecoder::Impl::Request(Reply& reply, std::string& error) {
  if (!asked && !Ask()) {
    error = "the movie decoder stopped";
    return false;
  }
  asked = false;
  return Receive(reply, kPictureTimeoutMs, error);
}

MovieDecoder::MovieDecoder() : impl_(std::make_unique<Impl>()) {}
MovieDecoder::~MovieDecoder() { Close(); }

bool MovieDecoder::StartHelper(const std::string& program, std::string& error) {
  Close();
  if (impl_->Spawn(program, error)) return true;
  Close();
  return false;
}

// A helper started ahead and still waiting gets the movie; otherwise one is
// started now. A file that cannot play ends the waiting helper too.
bool MovieDecoder::Open(const std::string& path, std::string& error) {
  Impl& m = *impl_;
  if (m.opened || m.helper <= 0) Close();
  auto file = OpenRegularFile(path, kMaxMovieBytes, error);
  if (!file || (m.helper <= 0 && !m.Spawn(MovieHelperPath(), error)) || !m.SendMovie(file->fd(), error)) {
    Close();
    return false;
  }
  return true;
}

bool MovieDecoder::IsOpen() const { return impl_->opened && impl_->helper > 0; }
void MovieDecoder::Close() { impl_->Release(); }
double MovieDecoder::FrameRate() const { return impl_->frameRate; }

bool MovieDecoder::NextFrame(Surface& picture, std::int64_t& timeMs, std::string& error) {
  error.clear();
  Impl& m = *impl_;
  if (!IsOpen()) return false;
  Reply reply;
  if (!m.Request(reply, error) || !Believable(reply, m.times, error)) {
    // A helper that failed or lied is not asked again.
    if (!error.empty()) Close();
    return false;
  }
  if (reply.status == kEnd) return false;
  if (picture.Width() != reply.width || picture.Height() != reply.height) picture.Resize(reply.width, reply.height);
  // The padding byte must stay 0: the raster operations work on whole words.
  const std::size_t count = static_cast<std::size_t>(reply.width) * reply.height;
  std::uint32_t* out = picture.MutableImage().data();
  for (std::size_t i = 0; i < count; ++i) out[i] = m.pixels[i] & 0x00FFFFFFu;
  timeMs = reply.timeMs;
  m.Ask();  // the pixels are copied out: the helper may decode the next picture into them
  return true;
}

}  // namespace pelmot
