#include "comforts/comforts.h"

#include "comforts/keyboard.h"

namespace pelmot {

bool ComfortsTakeEvent(Game& game, const InputEvent& event) {
  if (KeyboardTakesEvent(game, event)) return true;
  return false;
}

void ComfortsDrawOver(Game& /*game*/, std::vector<Colour>& /*pixels*/) {}

}  // namespace pelmot
