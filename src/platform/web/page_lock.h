// One tab per browser profile plays on the saves: the page takes a Web Lock
// before the game starts (web_page.js) and a second tab never starts it, so
// the game's own lock is always had.
#pragma once

#include "platform/services.h"

namespace pelmot {

class PageLock : public InstanceLock {
 public:
  Result Acquire(const std::string&) override {
    held_ = true;
    return Result::kAcquired;
  }
  void Release() override { held_ = false; }
  bool Held() const override { return held_; }

 private:
  bool held_ = false;
};

}  // namespace pelmot
