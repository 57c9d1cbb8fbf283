// The history screen: what each click showed since the game started or was
// loaded, read back over the dimmed picture, newest at the bottom. A frame
// marks one entry; choosing it returns the story there.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "platform/surface.h"
#include "platform/window.h"

namespace pelmot {

class Game;
class History;
struct ComfortState;

struct Backlog {
  bool open = false;
  int scrolled = 0;  // rows between the newest and the bottom of the screen
  int framed = -1;   // the entry in the frame
};

// A row of the screen: a row of an entry's text, or the break line before
// an entry that cleared the page.
struct HistoryRow {
  std::string_view text;
  bool pageBreak = false;
  int entry = 0;
};
std::vector<HistoryRow> HistoryRows(const History& history);

// Wheel up or PageUp opens it where a line can be read back (scene play
// and its choices); while open it takes every event but a key release and
// the window's close request.
bool BacklogTakeEvent(Game& game, ComfortState& comforts, const InputEvent& event);
void DrawBacklog(Game& game, const Backlog& backlog, const History& history, std::span<Colour> pixels);

}  // namespace pelmot
