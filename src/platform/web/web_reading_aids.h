// The reading aids in the browser: the page's clipboard and its speech
// synthesis. A browser that refuses either (no permission, no voices) is
// left alone without a word: the game plays on as before.
#pragma once

#include <string>

#include "platform/reading_aids.h"

namespace pelmot {

class WebReadingAids : public ReadingAids {
 public:
  void Copy(const std::string& utf8) override;
  void Speak(const std::string& utf8, const std::string& language) override;
  void StopSpeaking() override;
};

}  // namespace pelmot
