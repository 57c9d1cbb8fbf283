// The title flow (kModeTitle): greeting, title picture, title menu and what
// its items lead to.
#pragma once

namespace pelmot {

class Game;

// One title step, by StepNo[kModeTitle] (game/flow_steps.h).
void RunTitleStep(Game& game);

}  // namespace pelmot
