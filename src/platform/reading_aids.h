// The reading aids a player may turn on: each shown line copied to the
// clipboard, and lines, options and menus spoken by the desktop's (or the
// browser's) speech service.
#pragma once

#include <string>

namespace pelmot {

class ReadingAids {
 public:
  virtual ~ReadingAids() = default;
  // Puts `utf8` on the clipboard.
  virtual void Copy(const std::string& utf8) = 0;
  // Speaks `utf8` in `language` ("ja", "en"), cutting off what is being said.
  virtual void Speak(const std::string& utf8, const std::string& language) = 0;
  // Stops speaking.
  virtual void StopSpeaking() = 0;
};

}  // namespace pelmot
