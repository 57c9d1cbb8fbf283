#include "scenes/greeting_text.h"

#include "game/game.h"
#include "scenes/content.h"

namespace pelmot {

std::string GreetingLine(const Game& game, int picture) {
  return game.content ? game.content->GreetingLine(picture) : std::string();
}

}  // namespace pelmot
