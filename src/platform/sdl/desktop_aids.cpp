#include "platform/sdl/desktop_aids.h"

#include <SDL.h>

#include <ostream>

namespace pelmot {

DesktopAids::DesktopAids(std::ostream& warnings) : warnings_(warnings), speech_(warnings) {}

void DesktopAids::Copy(const std::string& utf8) {
  if (SDL_SetClipboardText(utf8.c_str()) == 0 || clipboardFailed_) return;
  clipboardFailed_ = true;
  warnings_ << "pelmot: warning: cannot put the line on the clipboard: " << SDL_GetError() << std::endl;
}

void DesktopAids::Speak(const std::string& utf8, const std::string& language) { speech_.Say(utf8, language); }

void DesktopAids::StopSpeaking() { speech_.Stop(); }

}  // namespace pelmot
