#include "platform/common/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace pelmot {

FileInstanceLock::~FileInstanceLock() { Release(); }

InstanceLock::Result FileInstanceLock::Acquire(const std::string& folder) {
  Release();
  const std::string path = folder + "/pelmot.lock";
  // Close-on-exec: a child process must not keep the lock alive.
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return Result::kUnavailable;
  // flock belongs to the open file, so even a second open in this same
  // process is refused, and the lock goes when the process dies.
  int rc;
  do {
    rc = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    const bool busy = errno == EWOULDBLOCK;
    ::close(fd);
    return busy ? Result::kHeldElsewhere : Result::kUnavailable;
  }
  fd_ = fd;
  return Result::kAcquired;
}

void FileInstanceLock::Release() {
  if (fd_ < 0) return;
  ::close(fd_);  // closing the only descriptor drops the lock
  fd_ = -1;
}

}  // namespace pelmot
