// The greeting line that goes with a greeting picture.
#pragma once

#include <string>

namespace pelmot {

class Game;

// The scenario's line for greeting picture 115 ... 129; "" without content.
std::string GreetingLine(const Game& game, int picture);

}  // namespace pelmot
