// The title flow (FlowMode 0): greeting, title picture, title menu and what
// its items lead to.
#pragma once

namespace pelmot {

class Game;

// One title step, by StepNo[0].
void RunTitleStep(Game& game);

// Puts back the start-up display size, writes the last-play stamp and ends
// the program. Shared by the title's and the system menu's quit.
void QuitSequence(Game& game);

}  // namespace pelmot
