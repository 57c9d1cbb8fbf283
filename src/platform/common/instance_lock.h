// One copy of the program per data folder: an exclusive lock on a file in
// it. The system drops the lock when the process ends, however it ends.
#pragma once

#include <string>

#include "platform/services.h"

namespace pelmot {

class FileInstanceLock : public InstanceLock {
 public:
  FileInstanceLock() = default;
  ~FileInstanceLock() override;
  FileInstanceLock(const FileInstanceLock&) = delete;
  FileInstanceLock& operator=(const FileInstanceLock&) = delete;

  // Locks `folder`/"pelmot.lock".
  Result Acquire(const std::string& folder) override;
  void Release() override;
  bool Held() const override { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace pelmot
