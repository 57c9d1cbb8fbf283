#include "platform/sdl/desktop_message.h"

#include <SDL.h>

namespace pelmot {

bool ShowDesktopMessage(const std::string& title, const std::string& text) {
  return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, title.c_str(), text.c_str(), nullptr) == 0;
}

}  // namespace pelmot
