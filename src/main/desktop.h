// The two ways to run the game: in a window, or headless from a script.
#pragma once

#include <string>

#include "app/options.h"
#include "game/game.h"

namespace pelmot {

int RunWindowed(const Options& options);
int RunHeadless(const Options& options);
// The content folder the options name, or the program's own.
std::string ContentFolder(const Options& options);
// The folders to use; a relative $XDG_DATA_HOME is ignored with a warning.
GamePaths ResolvePaths(const Options& options);

}  // namespace pelmot
