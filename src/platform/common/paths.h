// Where the program's files live on this machine.
#pragma once

#include <cstddef>
#include <string>

#include "platform/services.h"

namespace pelmot {

// The folder of the running executable.
std::string ExecutableFolder();

// $XDG_DATA_HOME, else ~/.local/share: where "TORMVEL/PELMOT" goes. A
// relative $XDG_DATA_HOME is ignored, as the XDG rules ask; `warning` then
// says so (it is left empty otherwise).
std::string DefaultDataRoot(std::string& warning);

// Why the game cannot keep its files in `folder`. `longestName` is the
// longest file name the game writes there: a path the system would refuse
// for that file counts as too long.
FolderFault CheckDataFolder(const std::string& folder, std::size_t longestName);

// Whether `folder` is an existing folder.
bool IsFolder(const std::string& folder);

}  // namespace pelmot
