// A flow mode as one unit: what a step of it does. The modes themselves
// live above everything they use; RunFlow finds them through ModeFor.
#pragma once

namespace pelmot {

class Game;

class Mode {
 public:
  virtual ~Mode() = default;
  // One step of the mode, by its StepNo.
  virtual void Step(Game& game) const = 0;
};

// The unit of FlowMode `flowMode`, or nothing for a value no mode has.
const Mode* ModeFor(int flowMode);

}  // namespace pelmot
