// A flow mode as one unit: what a step of it does, and how it answers the
// pointer. The modes themselves live above everything they use (flow/), which
// hands their table to the game when it is built; RunFlow and the input
// handlers find them there.
#pragma once

#include <optional>
#include <span>

#include "game/screen_geometry.h"

namespace pelmot {

class Game;

enum class PointerButton { Left, Right };

class Mode {
 public:
  virtual ~Mode() = default;
  // One step of the mode, by its StepNo.
  virtual void Step(Game& game) const = 0;

  // A left press at x, y on an enabled MainPic while a menu or choice waits
  // (ClickAdvances false): the pick.
  virtual void Pick(Game& game, int x, int y) const = 0;
  // The point of MainPic a pick of row `row` (0 = first item; in the album a
  // cell 0 ... 8) presses, or nothing when the row has nothing to press on.
  virtual std::optional<Point> PickPoint(const Game& game, int row) const = 0;
  // True when a press on row `row` would be ignored although it has text
  // (a never-saved slot of a load list).
  virtual bool RowRefused(const Game& /*game*/, int /*row*/) const { return false; }
  // The pointer moved to x, y over an enabled MainPic: the hover frame.
  virtual void Hover(Game& game, int x, int y) const = 0;

  // A press on the window outside an enabled MainPic while a click
  // advances (ClickAdvances true); the skip timer has already stopped.
  virtual void WindowPress(Game& game, PointerButton button) const = 0;
  // A right press on an enabled MainPic while a click advances.
  virtual void PictureRightPress(Game& game) const = 0;
  // True when the pointer in the skip strip shows the skip button.
  virtual bool OffersSkipButton() const = 0;
};

// The units of the flow modes, indexed by FlowMode (kModeTitle ...
// kModeChoice). The table does not own them.
class ModeTable {
 public:
  ModeTable() = default;
  explicit ModeTable(std::span<const Mode* const> units) : units_(units) {}
  // The unit of FlowMode `flowMode`, or nothing for a value no mode has.
  const Mode* For(int flowMode) const {
    if (flowMode < 0 || flowMode >= static_cast<int>(units_.size())) return nullptr;
    return units_[flowMode];
  }

 private:
  std::span<const Mode* const> units_;
};

}  // namespace pelmot
