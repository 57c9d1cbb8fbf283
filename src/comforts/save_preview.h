// The file select's preview of a slot (a setting, off by default): while
// the list of slots waits, the framed slot's saved picture shows dimmed
// behind the list, with its day and the first words of the line it was
// saved at. All of it comes from the slot file itself, read once each time
// the frame moves to a slot; an empty, damaged or unplayable slot shows
// none and says nothing. It is drawn over the composed screen, so the
// game's own surfaces never hold it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "comforts/keyboard.h"
#include "game/screen_geometry.h"
#include "platform/surface.h"
#include "platform/window.h"

namespace pelmot {

class Game;

struct SavePreview {
  // Where the pointer last moved, and the list on screen then.
  std::optional<Point> pointer;
  std::uint64_t pointerList = 0;
  // The slot last read and the list it was framed on (-1: none read).
  int slot = -1;
  std::uint64_t list = 0;
  bool playable = false;
  Surface picture{0, 0};
  int day = 0;
  std::string line;  // its first words
};

// Notes where the pointer goes; the game's handlers frame the row under it.
void SavePreviewSeesEvent(const Game& game, SavePreview& preview, const InputEvent& event);
// The slot framed in a file select that waits for a pick, if any: by the
// keys' frame or by the pointer's.
std::optional<int> FramedSlot(const Game& game, const SavePreview& preview, const KeyboardFocus& focus);
// Reads the framed slot when the frame has moved to it and draws its
// preview over the composed client area; draws nothing without one.
void DrawSavePreview(Game& game, SavePreview& preview, const KeyboardFocus& focus, std::span<Colour> pixels);

}  // namespace pelmot
