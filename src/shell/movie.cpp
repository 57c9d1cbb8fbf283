#include "shell/movie.h"

#include "game/game.h"

namespace pelmot {
namespace {

// The path goes in quotes: a folder name holding " type ", " style " or
// " alias " would otherwise be read as part of the command.
std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

}  // namespace

void StartLogoMovie(Game& game) {
  GameState& s = game.state;
  s.MoviePath = game.paths.content + "/LOGO.avi";
  const std::string name = Quoted(s.MoviePath);
  game.services.multimedia.SendString("open " + name + " alias " + name + " style child parent " +
                                      std::to_string(kMainPicHandle));
  game.services.multimedia.Execute("play " + name + " window");
}

void CloseLogoMovie(Game& game) {
  GameState& s = game.state;
  if (s.MoviePath.empty()) return;
  game.services.multimedia.Execute("close " + Quoted(s.MoviePath));
  s.MoviePath.clear();
}

}  // namespace pelmot
