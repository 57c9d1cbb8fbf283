#include "scenes/greeting_text.h"

#include "flow/game.h"

namespace pelmot {

std::string GreetingLine(const Game&, int) { return ""; }

}  // namespace pelmot
