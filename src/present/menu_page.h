// The centred menus: title menu, system menu, file select, confirmations.
#pragma once

#include <array>
#include <string>

namespace pelmot {

class Game;

using MenuTexts = std::array<std::string, 11>;

// Text width in the font of Msg, which measures every row.
int RowTextWidth(const Game& game, const std::string& text);
// MenuItems[index], or "" for an index outside the array.
const std::string& MenuItem(const Game& game, int index);

// Draws a centred menu of up to eleven items under a title row over the
// dimmed picture, and waits for a pick.
void DrawMenu(Game& game, const MenuTexts& items, const std::string& title);

}  // namespace pelmot
