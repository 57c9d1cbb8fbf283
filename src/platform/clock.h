// The machine's local date and time.
#pragma once

#include "platform/services.h"

namespace pelmot {

LocalDateTime SystemLocalTime();

class SystemClock : public Clock {
 public:
  LocalDateTime Now() override { return SystemLocalTime(); }
};

}  // namespace pelmot
