// Asking the player on the terminal the program was started from.
#pragma once

#include <iosfwd>
#include <string>

namespace pelmot {

// Whether standard input is a terminal a player can answer on.
bool StandardInputIsTerminal();
// Writes `question` to `err` and reads a line from standard input: true
// only for "y" or "yes" (any case).
bool AskYesOnTerminal(const std::string& question, std::ostream& err);

}  // namespace pelmot
