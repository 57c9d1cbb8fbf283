// What a headless script reaches besides the game's input: the wall clock,
// the answers waiting for message boxes, the last box's text and a picture
// file of the screen. The headless backend provides it.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/services.h"

namespace pelmot {

// A message box came up with no answer queued for it.
class UnansweredMessageBox : public std::runtime_error {
 public:
  explicit UnansweredMessageBox(const std::string& text)
      : std::runtime_error("a message box asked \"" + text + "\" and no answer was queued") {}
};

class ScriptHooks {
 public:
  virtual ~ScriptHooks() = default;
  // From now on the wall clock reads `now`.
  virtual void SetNow(const LocalDateTime& now) = 0;
  // The answer of the next yes/no box.
  virtual void QueueAnswer(bool yes) = 0;
  // The text of the last box of either kind; nothing before the first.
  virtual const std::optional<std::string>& LastMessage() const = 0;
  // Writes pixels (0x00RRGGBB) as a PNG file; false on failure.
  virtual bool SavePicture(const std::vector<Colour>& pixels, int width, int height, const std::string& path) = 0;
};

}  // namespace pelmot
