// The history of lines: every page of text shown since the game started or
// was loaded, kept by line, read back over the dimmed picture. Opening,
// scrolling and closing it change nothing in the game.
#pragma once

#include <deque>
#include <span>
#include <string>
#include <vector>

#include "platform/surface.h"
#include "platform/window.h"

namespace pelmot {

class Game;
struct ShownPage;

class Backlog {
 public:
  static constexpr std::size_t kMaxLines = 400;

  // A page shown in play number `play` (Game::playsBegun): a new play
  // starts the history afresh.
  void Add(const ShownPage& page, int play);
  int Lines() const { return static_cast<int>(lines_.size()); }

  struct Row {
    std::string text;
    bool pageBreak = false;  // a break line, no text
  };
  // Every row, oldest first, with a break row before each page but the first.
  std::vector<Row> Rows() const;

  bool open = false;
  int scrolled = 0;  // rows between the newest and the bottom of the screen

 private:
  struct ShownRow {
    std::string text;
    bool startsPage;
  };
  std::deque<std::vector<ShownRow>> lines_;
  int play_ = -1;
};

// Wheel up or PageUp opens it where a line can be read back (scene play
// and its choices); while open it takes every event but a key release and
// the window's close request.
bool BacklogTakeEvent(Game& game, Backlog& backlog, const InputEvent& event);
void DrawBacklog(Game& game, const Backlog& backlog, std::span<Colour> pixels);

}  // namespace pelmot
