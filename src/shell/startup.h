// Start-up: the game's window laid out, its data read, the logo started.
#pragma once

#include <string>

namespace pelmot {

class Files;
class Game;
class InstanceLock;

// The first step of start-up, taken before a Game exists: makes the data
// folder below `dataRoot` and takes the lock on it. False when another copy
// runs on the same data root; the caller then ends at once, silently. A lock
// that cannot be taken at all (a folder that cannot be written) does not
// stop the game: it plays, and its file operations fail as they would.
bool ClaimSingleInstance(Files& files, const std::string& dataRoot, InstanceLock& lock);

// Everything after it, from laying out the controls to starting the logo
// movie; the window shows when its loop starts.
void StartUp(Game& game);

}  // namespace pelmot
