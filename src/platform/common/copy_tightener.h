// Packs the disk cache's quick copies again, tighter, on a thread of its
// own that runs only when a processor would otherwise stand idle: the game
// and the picture worker never wait for it, and a reader's pauses give it
// all the time it needs.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/common/picture_cache.h"

namespace pelmot {

class CopyTightener {
 public:
  // Starts work `delay` from now at the soonest.
  CopyTightener(DiskPictureCache& disk, std::chrono::milliseconds delay);
  // Stops after the copy in hand.
  ~CopyTightener();
  CopyTightener(const CopyTightener&) = delete;
  CopyTightener& operator=(const CopyTightener&) = delete;

  // Copies may wait to be tightened.
  void Wake();
  // Waits until no copy waits and none is in hand.
  void WaitIdle();
  int Tightened();

 private:
  void Work();
  void TightenWaitingCopies();

  DiskPictureCache& disk_;
  std::chrono::steady_clock::time_point startAt_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool woken_ = false;
  bool busy_ = false;
  int tightened_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

}  // namespace pelmot
