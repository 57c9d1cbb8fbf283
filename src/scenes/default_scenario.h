// The placeholder scenario that the build writes into the content folder:
// every line says where the player is, every option where it leads, each
// scene shows exactly its pictures, and a few lines try the text window's
// long pages, "@r" row breaks and the line-start rule.
#pragma once

#include <string>

namespace pelmot {

std::string DefaultScenarioText();

}  // namespace pelmot
