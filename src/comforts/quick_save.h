// Quick save and quick load: F5 saves the game into a slot of its own
// (PELMOTQUICK.DAT, laid out as the ten slots), F9 resumes it after the
// checks a slot passes. Each works only where the system menu's save or the
// load it offers would, and says in the corner line what it did.
#pragma once

#include "platform/window.h"

namespace pelmot {

class Game;
struct CornerLine;

// True when the event was F5 or F9; the corner line says what it did.
bool QuickSaveTakesEvent(Game& game, CornerLine& line, const InputEvent& event);

// What the keys do; true when the game was saved or loaded.
bool QuickSave(Game& game, CornerLine& line);
bool QuickLoad(Game& game, CornerLine& line);

}  // namespace pelmot
