// Where the program's files live on this machine.
#pragma once

#include <cstddef>
#include <string>

#include "platform/services.h"

namespace pelmot {

// The folder of the running executable.
std::string ExecutableFolder();

// The content folder when none is given: the program's own folder when it
// holds a scenario (a build folder), else the installed content relative to
// the program (bin/../share/pelmot) when that exists, else the program's
// folder again (whose absence the start-up checks then name).
std::string DefaultContentFolder();

// The movie helper: beside the program (a build folder), else where an
// install puts it relative to the program (bin/../libexec/pelmot).
std::string MovieHelperPath();

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
