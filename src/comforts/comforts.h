// What players of the genre expect beyond the original game: each comfort
// takes its own keys and events before the game's handlers see them, and a
// player who never uses one gets exactly the original game. The host owns
// one Comforts beside its game.
#pragma once

#include <array>
#include <memory>
#include <span>

#include "comforts/comfort_state.h"
#include "game/input_stack.h"
#include "platform/surface.h"
#include "platform/window.h"

namespace pelmot {

class Game;

class Comforts {
 public:
  // Hears of every page the game's text window shows from now on.
  explicit Comforts(Game& game);
  ~Comforts();
  Comforts(const Comforts&) = delete;
  Comforts& operator=(const Comforts&) = delete;

  // Once the game has started: reads what the player set and has read, and
  // puts the window as the settings say.
  void Begin();

  // The comforts' takers of input, in the order they see events: the
  // settings screen, the route chart, the history, the page being drawn,
  // the comforts' keys.
  std::array<InputTaker*, 5> Takers();

  // After every event and timer the game's handlers saw.
  void AfterEvent();
  // After every event and timer, whoever took it.
  void EventEnds();
  // The Typewriter, AutoForward and CornerLine timers fired.
  void TypewriterTimer();
  void AutoForwardTimer();
  void CornerLineTimer();
  // Draws what the comforts show over the composed client area.
  void DrawOver(std::span<Colour> pixels);

  // Their state, with the player's files read the first time once the data
  // folder is known.
  ComfortState& State();
  const ComfortState& State() const { return state_; }

 private:
  class ScreenTaker;
  class KeysTaker;
  void PageShown(const ShownPage& page);
  void BeginInLanguage(ComfortState& c);

  Game& game_;
  ComfortState state_;
  bool filesRead_ = false;
  std::unique_ptr<ScreenTaker> settingsTaker_;
  std::unique_ptr<ScreenTaker> chartTaker_;
  std::unique_ptr<ScreenTaker> backlogTaker_;
  std::unique_ptr<ScreenTaker> typewriterTaker_;
  std::unique_ptr<KeysTaker> keysTaker_;
};

}  // namespace pelmot
