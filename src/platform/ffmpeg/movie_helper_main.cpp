// pelmot-movie: decodes one movie for the game in a process of its own and
// hands the pictures over shared memory (see platform/movie_protocol.h).
#include <sys/mman.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "platform/common/descriptor_passing.h"
#include "platform/ffmpeg/ffmpeg_movie.h"
#include "platform/movie_protocol.h"

namespace {

using namespace pelmot::movie_protocol;

bool Send(const Reply& reply) {
  const auto* bytes = reinterpret_cast<const char*>(&reply);
  std::size_t sent = 0;
  while (sent < sizeof reply) {
    const ssize_t n = ::send(kChannelFd, bytes + sent, sizeof reply - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

Reply Failure(const std::string& why) {
  Reply reply;
  reply.status = kFailed;
  const std::size_t n = std::min(why.size(), sizeof reply.error - 1);
  std::memcpy(reply.error, why.data(), n);
  return reply;
}

// The movie file's descriptor, passed over the socket; -1 when the game
// closed the socket without a movie (none plays) or sent something else.
int ReceiveMovie() { return pelmot::ReceiveDescriptor(kChannelFd, kMovieFile); }

bool NextRequested() {
  char request = 0;
  while (true) {
    const ssize_t n = ::read(kChannelFd, &request, 1);
    if (n < 0 && errno == EINTR) continue;
    return n == 1 && request == kNextPicture;
  }
}

Reply Next(pelmot::ffmpeg::Movie& movie, std::uint32_t* pixels) {
  Reply reply;
  std::string why;
  int width = 0, height = 0;
  const int got = pelmot::ffmpeg::NextPicture(movie, width, height, reply.timeMs, why);
  if (got < 0) return Failure(why);
  reply.status = got > 0 ? kPicture : kEnd;
  reply.width = width;
  reply.height = height;
  // A picture larger than the window is refused by the game; its size is
  // enough to say so.
  if (got > 0 && FitsTheWindow(width, height)) pelmot::ffmpeg::HeldPicture(movie, pixels, width, height);
  return reply;
}

}  // namespace

int main() {
  // Nothing of the game's but the two descriptors.
  ::close_range(kPictureFd + 1, ~0u, 0);
  void* shared = ::mmap(nullptr, kPictureBytes, PROT_READ | PROT_WRITE, MAP_SHARED, kPictureFd, 0);
  if (shared == MAP_FAILED) {
    Send(Failure("no memory for the movie's pictures"));
    return 1;
  }
  auto* pixels = static_cast<std::uint32_t*>(shared);

  // Started ahead of need: the libraries are loaded; now the movie.
  const int file = ReceiveMovie();
  if (file < 0) return 0;
  std::string why;
  pelmot::ffmpeg::MoviePtr movie = pelmot::ffmpeg::OpenMovie(file, why);
  if (!movie) {
    Send(Failure(why));
    return 1;
  }
  Reply opened;
  opened.status = kOpened;
  opened.frameRate = pelmot::ffmpeg::FrameRate(*movie);
  if (!Send(opened)) return 1;
  while (NextRequested())
    if (!Send(Next(*movie, pixels))) return 1;
  return 0;
}
