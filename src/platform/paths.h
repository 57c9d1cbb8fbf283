// Where the program's files live on this machine.
#pragma once

#include <string>

namespace pelmot {

// The folder of the running executable.
std::string ExecutableFolder();
// $XDG_DATA_HOME, else ~/.local/share: where "TORMVEL/PELMOT" goes.
std::string DefaultDataRoot();

}  // namespace pelmot
