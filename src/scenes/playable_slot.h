// Reading a save slot the game can resume: the file's bytes, and the
// scene, step and values it names checked against the story.
#pragma once

#include <optional>
#include <string>

#include "game/game_state.h"

namespace pelmot {

class Game;
class Story;

// Whether the game can resume `record`: scene play, a scene there is, a step
// its lane holds in `story` (any step without one), values in range.
bool Resumable(const SaveRecord& record, const Story* story);

// Reads slot `index`; on a missing, short or unplayable file returns nothing
// and says why in `problem`.
std::optional<SaveRecord> ReadSlot(const Game& game, int index, std::string& problem);
// The same for a save file of the slots' layout at `path`.
std::optional<SaveRecord> ReadSaveFile(const Game& game, const std::string& path, std::string& problem);

}  // namespace pelmot
