// The language the game shows its words in: the original, or a translation
// read from the content folder. The game keeps the original words in its
// own state; only what is drawn (and read aloud or copied) is translated.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/catalog.h"
#include "present/choices.h"
#include "present/menu_page.h"
#include "present/text_layout.h"

namespace pelmot {

class Game;

// The usable entries of one catalog: translated, not fuzzy, not obsolete.
class Translation {
 public:
  Translation(std::string code, const Catalog& catalog);
  const std::string& Code() const { return code_; }
  // The translation of `original`, known by `id`; null when there is none or
  // the original has changed since it was translated.
  const std::string* Find(std::string_view id, std::string_view original) const;
  // By UiText, the translated interface texts ("" where there is none).
  std::vector<std::string> InterfaceTexts() const;

 private:
  struct Words {
    std::string original;
    std::string translation;
  };
  std::string code_;
  std::unordered_map<std::string, Words> byId_;
};

struct ShownLanguage {
  std::shared_ptr<const Translation> translation;  // null: the original
  bool bilingual = false;                          // the original line with the translation below it
};

ShownLanguage& Language(Game& game);
const ShownLanguage* FindLanguage(const Game& game);
// "ja" for the original, else the translation's code.
std::string LanguageCode(const Game& game);

// Shows `translation` (null: the original) from now on: the words, the
// interface, the face and how rows break.
void UseTranslation(Game& game, std::shared_ptr<const Translation> translation);

// The words to draw for `original`, known by `id` ("" for words with no ID,
// drawn as they are): its translation, or the original where there is none.
std::string ShownWords(const Game& game, std::string_view id, const std::string& original);
// A scenario line as the text window lays it out: the shown words, or with
// the bilingual view the original with its translation on the rows below.
std::string ShownLine(const Game& game, std::string_view id, const std::string& original);
// How the shown language's rows break.
WrapRule ShownWrap(const Game& game);

// What the game's own surfaces show, row by row, in the shown language: the
// page with its options (by the row they are drawn on), and the last menu.
struct ShownRows {
  std::vector<std::string> page;
  std::vector<std::string> menu;  // its title row first
  bool menuOnTop = false;
  OptionIds optionIds{};             // of the last options drawn
  std::string lineId, lineOriginal;  // the last line drawn
  MenuBuilder lastMenu;              // what made the last menu, to draw it again
  void SetPageRow(int row, std::string text);
};
ShownRows& RowsOnScreen(Game& game);
// The rows of the topmost of them, one string with a newline between rows.
std::string ShownRowsText(const Game& game);

}  // namespace pelmot
