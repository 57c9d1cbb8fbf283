// The centred menus: title menu, system menu, file select, confirmations.
#pragma once

#include <array>
#include <functional>
#include <string>

namespace pelmot {

class Game;
struct GameState;

using MenuTexts = std::array<std::string, 11>;

struct MenuPage {
  MenuTexts items;
  std::string title;
};
// Makes a menu's words; called once for the original words the game keeps
// in its state and once for the shown language's.
using MenuBuilder = std::function<MenuPage()>;

// Text width in the font of Msg, which measures every row.
int RowTextWidth(const Game& game, const std::string& text);
// MenuItems[index], or "" for an index outside the array.
const std::string& MenuItem(const Game& game, int index);
// Item `index` of the menu or choice on screen as drawn, in the shown language.
const std::string& ShownItem(const Game& game, int index);

// Row of the first item of the menu or choice on screen, counted as
// LineNo counts rows: LineNo - 1 - OptionCount.
int FirstItemRow(const GameState& s);
// True when x lies over item `index`'s text: a left-aligned option, or a
// row of a centred menu. An empty item has no text to be over.
bool OverLeftAlignedItem(const Game& game, int index, int x);
bool OverCentredItem(const Game& game, int index, int x);

// Draws a centred menu of up to eleven items under a title row over the
// dimmed picture, and waits for a pick.
void DrawMenu(Game& game, const MenuBuilder& build);
// A menu of fixed words, the same in every language.
void DrawMenu(Game& game, const MenuTexts& items, const std::string& title);

}  // namespace pelmot
