// The title greeting: chosen by the last ending, the time since the player
// last quit and the hour of the day.
#pragma once

#include <optional>

#include "platform/services.h"

namespace pelmot {

class Game;

// The greeting picture 115 ... 129 for the situation, or nothing. `lastQuit`
// is empty when the player never quit normally.
struct GreetingChoice {
  bool titleAtOnce = false;  // no greeting: the title picture follows at once
  int picture = 0;           // 0: show nothing
};
GreetingChoice ChooseGreeting(int endingNo, const std::optional<LocalDateTime>& lastQuit, bool stampEmpty,
                              const LocalDateTime& now);

void Greeting(Game& game);

}  // namespace pelmot
