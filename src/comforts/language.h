// Choosing the language the game is shown in, and the reading aids that
// copy or speak what it shows.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "platform/catalog.h"
#include "platform/reading_aids.h"

namespace pelmot {

class Game;
struct ComfortState;

struct LanguageState {
  Catalogs* catalogs = nullptr;  // null: the original only
  ReadingAids* aids = nullptr;   // null: none on this platform
  std::ostream* warnings = nullptr;
  bool missingTold = false;  // the missing entries are named once a run
  std::string fromCommandLine;
  bool speechMuted = false;  // V, once speaking is on
  // What the reading aids last copied and spoke, for scripts.
  std::optional<std::string> lastCopied, lastSpoken;
  std::string lastPage;  // the page last handed to the aids
};

// "ja" and the codes of the content folder's catalogs.
std::vector<std::string> LanguagesThereAre(const LanguageState& l);

// Shows the game in `code` from now on and draws what is on screen again;
// false, with `problem` set, when there is no such catalog or it cannot be
// read (the language stays as it was).
bool SwitchLanguage(Game& game, ComfortState& c, const std::string& code, std::string& problem);
// Lays the history out again and draws what is on screen again, in the
// language and view now chosen.
void ShowAgainInLanguage(Game& game, ComfortState& c);
// The language after `code` among those there are, round to the first.
std::string NextLanguage(const LanguageState& l, const std::string& code, int direction);

// The reading aids after a page, options or a menu was drawn.
void ReadingAidsAfterEvent(Game& game, ComfortState& c);
// V: speaking on or off, once the settings have it on.
bool ToggleSpeech(Game& game, ComfortState& c);

}  // namespace pelmot
