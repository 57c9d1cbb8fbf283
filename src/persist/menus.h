// The centred menus: title menu, system menu, file select, confirmations.
#pragma once

#include <array>
#include <string>

namespace pelmot {

class Game;

using MenuTexts = std::array<std::string, 11>;

// Draws a centred menu of up to eleven items under a title row over the
// dimmed picture, and waits for a pick.
void DrawMenu(Game& game, const MenuTexts& items, const std::string& title);
// One step of the system menu (FlowMode 2).
void SystemMenu(Game& game);
// Resumes the game the system menu interrupted.
void CloseSystemMenu(Game& game);
// Drops the game; the next RunFlow shows the title picture.
void ReturnToTitle(Game& game);
// One step of the load flow started from the title.
void TitleLoad(Game& game);

}  // namespace pelmot
