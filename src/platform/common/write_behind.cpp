#include "platform/common/write_behind.h"

#include <utility>

namespace pelmot {

WriteBehindFiles::WriteBehindFiles(Files& underneath, std::chrono::milliseconds spacing)
    : files_(underneath), spacing_(spacing), worker_([this] { Work(); }) {}

WriteBehindFiles::~WriteBehindFiles() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  worker_.join();
}

void WriteBehindFiles::ReplaceWholeLater(const std::string& path, std::function<std::string(Files&)> contents) {
  {
    std::lock_guard lock(mutex_);
    // A waiting replacement of the same file is dropped: the newer one
    // takes its turn at the end, so the last word on each file comes last.
    std::erase_if(waiting_, [&path](const Job& job) { return job.path == path; });
    waiting_.push_back({path, std::move(contents)});
  }
  changed_.notify_all();
}

void WriteBehindFiles::FinishLaterWrites() {
  std::unique_lock lock(mutex_);
  ++finishing_;
  changed_.notify_all();
  changed_.wait(lock, [this] { return waiting_.empty() && !writing_; });
  --finishing_;
}

WriteBehindFiles::Clock::time_point WriteBehindFiles::DueAt(const std::string& path) const {
  const auto last = lastWritten_.find(path);
  return last == lastWritten_.end() ? Clock::time_point{} : last->second + spacing_;
}

std::optional<LaterWriteFailure> WriteBehindFiles::TakeLaterWriteFailure() {
  std::lock_guard lock(mutex_);
  return std::exchange(failure_, std::nullopt);
}

// Stops only when nothing waits, so whatever was asked before the end is made.
void WriteBehindFiles::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
    if (waiting_.empty()) return;
    const Clock::time_point due = DueAt(waiting_.front().path);
    if (!stopping_ && finishing_ == 0 && Clock::now() < due) {
      changed_.wait_until(lock, due);
      continue;
    }
    Job job = std::move(waiting_.front());
    waiting_.pop_front();
    writing_ = true;
    lock.unlock();
    std::string error;
    const bool written = files_.ReplaceWhole(job.path, job.contents(files_), error);
    lock.lock();
    lastWritten_[job.path] = Clock::now();
    writing_ = false;
    if (!written && !failure_) failure_ = LaterWriteFailure{job.path, error};
    changed_.notify_all();
  }
}

}  // namespace pelmot
