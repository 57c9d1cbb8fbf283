// One game from the services it runs on to its last write: the checks
// before it starts, the game and its story, its start-up, and the host that
// a pump drives. The window, the headless runner, the browser and the tests
// each build their services, make a session and run their own pump over
// its host.
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

#include "app/game_host.h"
#include "game/game.h"
#include "platform/catalog.h"
#include "platform/reading_aids.h"

namespace pelmot {

class DialogQueue;
struct StartUpProblem;

// Says what is wrong before the game starts, in the dialogs and on `err`:
// the font (through `tellFont` when given), the content folder, the data
// folder. False when the game cannot start at all (no content folder).
bool TellStartUpProblems(Files& files, const GamePaths& paths, const std::string& fontProblem, Dialogs& dialogs,
                         std::ostream& err, const std::function<void(const StartUpProblem&)>& tellFont = nullptr);

// The message box for a scenario that cannot be played; `namesCheck` adds
// the command that lists its problems (where there is a command line).
std::string ScenarioProblemText(const std::string& contentDir, bool namesCheck);

// True when `code` is empty, the original's or a catalog's of `catalogs`;
// otherwise says so on `err`, with the languages there are.
bool LanguageIsThere(Catalogs* catalogs, const std::string& code, std::ostream& err);

struct SessionParts {
  // The game's own message boxes, where the platform leaves them to the game
  // (null where the services' Dialogs answer at once, as headless).
  DialogQueue* boxes = nullptr;
  // Drawing on the movie's own schedule (null for none).
  TimedDrawing* movie = nullptr;
  // Where every press and key names the handler it reached (--trace).
  std::ostream* trace = nullptr;
  // The content folder's translations (null: the original only).
  Catalogs* catalogs = nullptr;
  // The clipboard and speech for the reading aids (null: none).
  ReadingAids* aids = nullptr;
  // The language asked for on the command line; empty: the remembered one.
  std::string language{};
  // --author: the author's overlay (F12) is there.
  bool author = false;
};

class GameSession {
 public:
  GameSession(Services& services, GamePaths paths, SessionParts parts = {});
  ~GameSession();
  GameSession(const GameSession&) = delete;
  GameSession& operator=(const GameSession&) = delete;

  // Loads the content folder's scenario and installs the story's scenes;
  // false, with every problem on `err`, when it cannot be played.
  bool InstallStory(std::ostream& err);
  // Starts the game as the original program did (folders, data files, the
  // logo) and lets the comforts read the player's files.
  void Start();
  // --warp: starts the story at `place`, its route on `err` as a headless
  // script; false, with "pelmot: " and the reason on `err`, when it cannot.
  bool WarpAtStart(const std::string& place, std::ostream& err);
  // Whatever ended the game, the data files waiting to be written reach the
  // disk; a failure among them that no box told goes to `err`.
  void Finish(std::ostream& err);

  Game& game() { return *game_; }
  const Game& game() const { return *game_; }
  GameHost& host() { return *host_; }
  const GameHost& host() const { return *host_; }

 private:
  std::unique_ptr<Game> game_;
  std::unique_ptr<GameHost> host_;
};

}  // namespace pelmot
