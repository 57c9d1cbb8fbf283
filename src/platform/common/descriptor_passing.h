// A file descriptor sent over a Unix socket as one tag byte with the
// descriptor attached (SCM_RIGHTS): how the game hands the movie helper its
// movie file.
#pragma once

#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace pelmot {

// One tag byte with room for one descriptor beside it.
struct TaggedMessage {
  explicit TaggedMessage(char byte) : tag(byte) {
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
  }
  TaggedMessage(const TaggedMessage&) = delete;
  TaggedMessage& operator=(const TaggedMessage&) = delete;

  char tag;
  iovec part{&tag, 1};
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
  msghdr message{};
};

// Sends `tag` carrying `fd`; true when the byte went.
inline bool SendDescriptor(int socket, char tag, int fd) {
  TaggedMessage sent(tag);
  msghdr& message = sent.message;
  cmsghdr* c = CMSG_FIRSTHDR(&message);
  c->cmsg_level = SOL_SOCKET;
  c->cmsg_type = SCM_RIGHTS;
  c->cmsg_len = CMSG_LEN(sizeof(int));
  std::memcpy(CMSG_DATA(c), &fd, sizeof fd);
  ssize_t n;
  do {
    n = ::sendmsg(socket, &message, MSG_NOSIGNAL);
  } while (n < 0 && errno == EINTR);
  return n == 1;
}

// The descriptor that came with `tag`, close-on-exec; -1 when the socket
// closed, another byte came, or no whole descriptor came with it (one that
// did come is closed then).
inline int ReceiveDescriptor(int socket, char tag) {
  TaggedMessage got(0);
  msghdr& message = got.message;
  ssize_t n;
  do {
    n = ::recvmsg(socket, &message, MSG_CMSG_CLOEXEC);
  } while (n < 0 && errno == EINTR);
  int fd = -1;
  const cmsghdr* c = n == 1 ? CMSG_FIRSTHDR(&message) : nullptr;
  if (c && c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_RIGHTS && c->cmsg_len == CMSG_LEN(sizeof(int)))
    std::memcpy(&fd, CMSG_DATA(c), sizeof fd);
  if (fd >= 0 && (got.tag != tag || (message.msg_flags & MSG_CTRUNC))) {
    ::close(fd);
    fd = -1;
  }
  return fd;
}

}  // namespace pelmot
