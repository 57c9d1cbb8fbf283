// The reading aids without a window: no clipboard and no voice. The game
// keeps what it copied and spoke last in its state for scripts to read.
#pragma once

#include <string>

#include "platform/reading_aids.h"

namespace pelmot {

class SilentAids : public ReadingAids {
 public:
  void Copy(const std::string&) override {}
  void Speak(const std::string&, const std::string&) override {}
  void StopSpeaking() override {}
};

}  // namespace pelmot
