// Start-up: the game's window laid out, its data read, the logo started.
#pragma once

#include <string>

namespace pelmot {

class Game;

// Everything from laying out the controls to starting the logo movie. The
// single-instance check is made by the caller before a Game exists.
void StartUp(Game& game);

// Creates every missing folder along `path`. Returns false when a network
// path ("//server/share/...") has no share part. Folder creation errors are
// ignored; later file operations report them.
bool MakePath(const std::string& path);

// Paths of the data folders below the data root.
std::string DataFolder(const Game& game);

}  // namespace pelmot
