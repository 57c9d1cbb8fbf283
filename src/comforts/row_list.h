// A list of rows of which only so many fit on screen at once: the rows on
// screen follow the selection, and scroll by whole rows.
#pragma once

#include <algorithm>
#include <optional>

namespace pelmot {

struct RowList {
  int count = 0;  // rows in the list
  int room = 0;   // rows the screen has room for
  int selected = 0;
  int first = 0;  // the row in the top slot on screen

  int Shown() const { return std::min(count, room); }
  bool MoreAbove() const { return first > 0; }
  bool MoreBelow() const { return first + Shown() < count; }

  // Selects `row`, round either end, and brings it on screen.
  void Select(int row) {
    if (count <= 0) return;
    selected = ((row % count) + count) % count;
    first = std::clamp(first, selected - Shown() + 1, selected);
  }
  // Moves the rows on screen `rows` further down the list (up when
  // negative); the selection stays among them.
  void Scroll(int rows) {
    if (count <= 0) return;
    first = std::clamp(first + rows, 0, count - Shown());
    selected = std::clamp(selected, first, first + Shown() - 1);
  }
  // The row in slot `slot` on screen (0: the top one), if any.
  std::optional<int> RowInSlot(int slot) const {
    if (slot < 0 || slot >= Shown()) return std::nullopt;
    return first + slot;
  }
};

}  // namespace pelmot
