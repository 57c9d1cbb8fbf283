// One copy of the program per data folder: an exclusive lock on a file in
// it. The system drops the lock when the process ends, however it ends.
#pragma once

#include <string>

namespace pelmot {

class InstanceLock {
 public:
  enum class Result {
    kAcquired,      // this process is the only copy
    kHeldElsewhere, // another copy runs on the same data folder
    kUnavailable,   // the lock file cannot be opened (a folder that cannot be written)
  };

  InstanceLock() = default;
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // Takes the lock on `folder`/"pelmot.lock" without waiting. The folder
  // must exist. Calling it again while held releases the old lock first.
  Result Acquire(const std::string& folder);
  void Release();
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace pelmot
