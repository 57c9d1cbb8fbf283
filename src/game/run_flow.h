// The flow dispatcher and the two operations every mode relies on.
#pragma once

#include <array>
#include <cstdint>

namespace pelmot {

class Game;

// Flow modes of RunFlow.
enum FlowModes : std::int16_t {
  kModeTitle = 0,
  kModeScene = 1,
  kModeSystemMenu = 2,
  kModeAlbum = 3,
  kModeSlideShow = 4,
  kModeChoice = 5,
};

// Runs exactly one step of the current mode. It may call itself: a step that
// hands control on calls RunFlow as its last action.
void RunFlow(Game& game);

// Called before a scene, menu or gallery changes mode or scene. Acts on the
// mode current at the call: callers that change mode call it first.
void ResetStep(Game& game);

// The amount AddParam uses for parameter 3, by DayNo 1 ... 15 (index 0 unused).
inline constexpr std::array<std::int16_t, 16> DayTable = {0, 0, 37, 34, 99, 0, 50, 28, 58, 45, 12, 66, 81, 7, 20, 73};

// The only operation that changes the four story parameters: bonuses by
// Condition, DayTable for parameter 3, the result kept within 0 ... 999.
void AddParam(Game& game, int index, std::int16_t amount);

// Resumes the game the system menu interrupted.
void CloseSystemMenu(Game& game);
// Drops the game; the next RunFlow shows the title picture.
void ReturnToTitle(Game& game);

// The advance shared by a click, Enter and a skip tick: raise the step of the
// current mode unless a text is still pending, then run the step.
void Advance(Game& game);

// Adds to a 16-bit counter with the wrap-around of 16-bit arithmetic.
inline std::int16_t Add16(std::int16_t value, int delta) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(value) + static_cast<std::uint16_t>(delta));
}

}  // namespace pelmot
