// One running game: its state, its window's controls, its content and the
// services of the machine it runs on. Two games can run side by side.
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "game/game_parts.h"
#include "game/game_state.h"
#include "game/main_form.h"
#include "game/modes.h"
#include "game/screen_geometry.h"
#include "platform/services.h"

namespace pelmot {

// One page of text as the text window showed it.
struct ShownPage {
  std::vector<std::string> rows;  // the rows drawn, in order
  bool freshPage = false;         // the page was cleared first
  bool continuesLine = false;     // the rest of a line a full page left waiting
  bool lineEnds = false;          // nothing of the line waits for another page
  // Where each row's text was drawn on the page (its first cell's top left).
  std::vector<Point> rowOrigins{};
  // With Game::pageUnderWanted, the page's pixels as they were without the
  // rows drawn (Msg's size); empty otherwise.
  std::vector<Colour> under{};
  // The line the rows come from, in its original words, and its ID for
  // translations; which of its pages this is, and the row its first began on.
  std::string lineId{};
  std::string lineOriginal{};
  int linePage = 0;
  int lineFirstRow = 0;
  bool inWindow = false;  // the message window's layout, not the whole screen's
};

struct GamePaths {
  std::string dataRoot;  // stands in for the Windows folder
  std::string content;   // the program's folder: pictures, movie, scenario
};

class Game {
 public:
  // `modes` are the units of the flow modes (StandardModes, flow/mode_units.h).
  Game(Services& services, GamePaths paths, ModeTable modes);
  ~Game();
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  GameState state;
  MainForm form;
  Services& services;
  GamePaths paths;
  const ModeTable modes;
  // What the layers above keep for this game: the scenes and the scenario's
  // words (scenes/scene_table.h), what the text window noted of its page
  // (present/page_memory.h).
  GameParts parts;
  // Told of every page of text shown (may be empty).
  std::function<void(const ShownPage&)> pageShown;
  // Told as each scene step begins, once the pick it follows is taken
  // (may be empty).
  std::function<void()> sceneStepStarts;
  // Whoever hears of the pages wants each one's pixels without its new rows
  // (a copy of the page at every line, so only when asked).
  bool pageUnderWanted = false;
  // Raised when a new game starts and when a saved one is loaded.
  int playsBegun = 0;
  // Set by the quit paths; the event loop ends the program when it sees it.
  bool quitRequested = false;
  // Set by a pick of a scene choice until the step after it has run: only
  // in the pick's own event does that step take the pick into LastChoice.
  bool pickJustMade = false;
  // The numbered picture MainWork holds (kNoPicture for none). ShownPic
  // forgets it whenever the next picture must load again, but the picture
  // stays on screen, and a save records this one.
  int mainWorkPicture = kNoPicture;
  // MainWork holds a day background, its status display painted from
  // these values.
  bool mainWorkIsBackground = false;
  SaveRecord mainWorkStatus{};
  // An author's warp began this run: the seen flags, the ending reached and
  // the last-play stamp are not written, so the data folder stays as a
  // player's own play left it (a save the player asks for is still made).
  bool dataFilesHeld = false;
  // A failed write of the seen flags has been reported; later ones are not.
  bool seenFlagsWarned = false;
  // Start-up has asked for the status sheet, which loads when first used.
  bool statusSheetDue = false;
  // The skip button's face has been painted from the status sheet (the
  // first time the button shows).
  bool skipButtonPainted = false;
  // When set, every press and key names the handler it reached (--trace).
  std::ostream* trace = nullptr;
  // Pages of text the text window has shown since the start, for measuring
  // the cost of a line; --trace also names each one ("LineShown N").
  long linesShown = 0;

  // Paths of the content folder's picture sets and movie.
  std::string PictureFolder() const;
  std::string SystemPictureFolder() const;
};

}  // namespace pelmot
