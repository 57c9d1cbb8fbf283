// A movie helper that answers what its "movie" tells it to, for the tests of
// what the game believes of a helper. The movie file comes as the real one
// does (over the socket); its text is a plan, one reply or run of replies a
// line, after which every request gets the end:
//   opened STATUS              the opening's status (else a proper opening)
//   pictures COUNT FIRST STEP  COUNT 16 x 16 white pictures at FIRST, FIRST +
//                              STEP, ... ms (COUNT -1: without end)
//   reply STATUS               one reply of that status
#include <sys/mman.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

#include "platform/common/descriptor_passing.h"
#include "platform/movie_protocol.h"

namespace {

using namespace pelmot::movie_protocol;

int ReceiveMovie() { return pelmot::ReceiveDescriptor(kChannelFd, kMovieFile); }

std::string ReadAll(int fd) {
  std::string text;
  char buffer[4096];
  for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
  return text;
}

bool Send(const Reply& reply) {
  return ::send(kChannelFd, &reply, sizeof reply, MSG_NOSIGNAL) == static_cast<ssize_t>(sizeof reply);
}

bool Requested() {
  char request = 0;
  return ::read(kChannelFd, &request, 1) == 1 && request == kNextPicture;
}

}  // namespace

int main() {
  void* shared = ::mmap(nullptr, kPictureBytes, PROT_READ | PROT_WRITE, MAP_SHARED, kPictureFd, 0);
  const int file = ReceiveMovie();
  if (shared == MAP_FAILED || file < 0) return 1;
  auto* pixels = static_cast<std::uint32_t*>(shared);
  for (int i = 0; i < 16 * 16; ++i) pixels[i] = 0x00FFFFFF;
  std::istringstream plan(ReadAll(file));

  Reply opened;
  opened.status = kOpened;
  opened.frameRate = 15;
  std::string word;
  if (plan >> word && word == "opened") {
    plan >> opened.status;
    plan >> word;
  }
  if (!Send(opened)) return 1;
  do {
    Reply reply;
    if (word == "pictures") {
      long long count = 0;
      plan >> count >> reply.timeMs;
      std::int64_t step = 0;
      plan >> step;
      reply.status = kPicture;
      reply.width = reply.height = 16;
      for (long long i = 0; count < 0 || i < count; ++i, reply.timeMs += step)
        if (!Requested() || !Send(reply)) return 0;
    } else if (word == "reply") {
      plan >> reply.status;
      if (!Requested() || !Send(reply)) return 0;
    }
  } while (plan >> word);
  Reply end;
  end.status = kEnd;
  while (Requested())
    if (!Send(end)) return 0;
  return 0;
}
