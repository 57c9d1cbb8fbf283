#include "flow/greeting.h"

#include "flow/game.h"
#include "flow/run_flow.h"

namespace pelmot {

void Greeting(Game& game) {
  GameState& s = game.state;
  if (s.SaveDate[10].empty()) return;  // never quit normally: no greeting
  s.StepNo[0] = 2;
  RunFlow(game);
}

}  // namespace pelmot
