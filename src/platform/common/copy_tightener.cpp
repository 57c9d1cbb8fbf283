#include "platform/common/copy_tightener.h"

#include <pthread.h>
#include <sched.h>

namespace pelmot {
namespace {

// The scheduler runs this thread only on a processor nothing else wants;
// where it cannot be asked for, the thread runs as any other.
void RunOnlyWhenIdle() {
  sched_param none{};
  pthread_setschedparam(pthread_self(), SCHED_IDLE, &none);
}

}  // namespace

CopyTightener::CopyTightener(DiskPictureCache& disk, std::chrono::milliseconds delay)
    : disk_(disk), startAt_(std::chrono::steady_clock::now() + delay), thread_([this] { Work(); }) {}

CopyTightener::~CopyTightener() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void CopyTightener::Wake() {
  {
    std::lock_guard lock(mutex_);
    woken_ = true;
  }
  changed_.notify_all();
}

void CopyTightener::WaitIdle() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return stopping_ || (!woken_ && !busy_ && !disk_.WaitingToTighten()); });
}

int CopyTightener::Tightened() {
  std::lock_guard lock(mutex_);
  return tightened_;
}

// The scratch memory (a picture's pixels) is given back once no copy waits.
void CopyTightener::TightenWaitingCopies() {
  DiskPictureCache::TighteningScratch scratch;
  while (!stopping_) {
    const auto key = disk_.NextToTighten();
    if (!key) return;
    if (!disk_.Tighten(*key, scratch)) continue;
    std::lock_guard lock(mutex_);
    ++tightened_;
  }
}

void CopyTightener::Work() {
  RunOnlyWhenIdle();
  std::unique_lock lock(mutex_);
  changed_.wait_until(lock, startAt_, [&] { return stopping_.load(); });
  for (;;) {
    changed_.wait(lock, [&] { return stopping_ || woken_; });
    if (stopping_) return;
    woken_ = false;
    busy_ = true;
    lock.unlock();
    TightenWaitingCopies();
    lock.lock();
    busy_ = false;
    changed_.notify_all();
  }
}

}  // namespace pelmot
