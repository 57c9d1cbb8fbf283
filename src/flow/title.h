// The title flow (FlowMode 0): greeting, title picture, title menu and what
// its items lead to.
#pragma once

namespace pelmot {

class Game;

// One title step, by StepNo[0].
void RunTitleStep(Game& game);

}  // namespace pelmot
