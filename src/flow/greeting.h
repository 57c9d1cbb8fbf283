// The title greeting: chosen by the last ending, the time since the player
// last quit and the hour of the day.
#pragma once

namespace pelmot {

class Game;

void Greeting(Game& game);

}  // namespace pelmot
