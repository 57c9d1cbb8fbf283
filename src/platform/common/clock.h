// The machine's clocks: the local date and time, and a steady count of
// milliseconds.
#pragma once

#include "platform/services.h"

namespace pelmot {

LocalDateTime SystemLocalTime();

class SystemClock : public Clock {
 public:
  LocalDateTime Now() override { return SystemLocalTime(); }
};

class SteadyClock : public MonotonicClock {
 public:
  std::int64_t NowMs() override;
};

}  // namespace pelmot
