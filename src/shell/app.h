// The two ways to run the game: in a window, or headless from a script.
#pragma once

#include "shell/options.h"

namespace pelmot {

int RunWindowed(const Options& options);
int RunHeadless(const Options& options);

}  // namespace pelmot
