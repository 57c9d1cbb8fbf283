#include "scenes/greeting_text.h"

#include "game/game.h"
#include "scenes/content.h"
#include "scenes/scene_table.h"

namespace pelmot {

std::string GreetingLine(const Game& game, int picture) {
  const Content* content = Scenes(game).content.get();
  return content ? content->GreetingLine(picture) : std::string();
}

}  // namespace pelmot
