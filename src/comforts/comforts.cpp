#include "comforts/comforts.h"

namespace pelmot {

bool ComfortsTakeEvent(Game& /*game*/, const InputEvent& /*event*/) { return false; }

void ComfortsDrawOver(Game& /*game*/, std::vector<Colour>& /*pixels*/) {}

}  // namespace pelmot
