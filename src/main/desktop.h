// The two ways to run the game: in a window, or headless from a script.
#pragma once

#include <string>

#include "app/options.h"

namespace pelmot {

int RunWindowed(const Options& options);
int RunHeadless(const Options& options);
// The content folder the options name, or the program's own.
std::string ContentFolder(const Options& options);

}  // namespace pelmot
