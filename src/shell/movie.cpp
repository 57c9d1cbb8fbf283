#include "shell/movie.h"

#include "flow/game.h"

namespace pelmot {

void StartLogoMovie(Game& game) {
  GameState& s = game.state;
  s.MoviePath = game.paths.content + "/LOGO.avi";
  game.services.multimedia.SendString("open " + s.MoviePath + " alias " + s.MoviePath +
                                      " style child parent " + std::to_string(kMainPicHandle));
  game.services.multimedia.Execute("play " + s.MoviePath + " window");
}

void CloseLogoMovie(Game& game) {
  GameState& s = game.state;
  if (s.MoviePath.empty()) return;
  game.services.multimedia.Execute("close " + s.MoviePath);
  s.MoviePath.clear();
}

}  // namespace pelmot
