#include "comforts/comforts.h"

#include "comforts/corner_line.h"
#include "comforts/keyboard.h"
#include "comforts/quick_save.h"

namespace pelmot {

bool ComfortsTakeEvent(Game& game, const InputEvent& event) {
  if (QuickSaveTakesEvent(game, event)) return true;
  if (KeyboardTakesEvent(game, event)) return true;
  return false;
}

void ComfortsDrawOver(Game& game, std::vector<Colour>& pixels) {
  DrawCornerLine(game, pixels);
}

}  // namespace pelmot
