#include "platform/common/terminal.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>

namespace pelmot {

bool StandardInputIsTerminal() { return ::isatty(STDIN_FILENO) == 1; }

bool AskYesOnTerminal(const std::string& question, std::ostream& err) {
  err << question << std::flush;
  std::string answer;
  if (!std::getline(std::cin, answer)) return false;
  std::transform(answer.begin(), answer.end(), answer.begin(), [](unsigned char c) { return std::tolower(c); });
  return answer == "y" || answer == "yes";
}

}  // namespace pelmot
