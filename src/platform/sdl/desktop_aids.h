// The reading aids in the desktop's window: the clipboard is SDL's (the
// window serves it while it is open), speech is speech-dispatcher's.
#pragma once

#include <iosfwd>
#include <string>

#include "platform/common/speech.h"
#include "platform/reading_aids.h"

namespace pelmot {

class DesktopAids : public ReadingAids {
 public:
  // Made after the window is open. A clipboard or speech service that
  // cannot be reached is told once on `warnings`.
  explicit DesktopAids(std::ostream& warnings);

  void Copy(const std::string& utf8) override;
  void Speak(const std::string& utf8, const std::string& language) override;
  void StopSpeaking() override;

 private:
  std::ostream& warnings_;
  bool clipboardFailed_ = false;
  Speech speech_;
};

}  // namespace pelmot
