// The game as the platform sees it: one event at a time, one frame at a
// time, and nothing in between that blocks. The window, the headless runner
// and the browser all drive the game through this; a loop that gets one
// callback per animation frame calls the same two functions.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "comforts/comforts.h"
#include "game/input_stack.h"
#include "game/timers.h"
#include "platform/timed_drawing.h"
#include "platform/content_watch.h"
#include "platform/window.h"

namespace pelmot {

class DialogQueue;
class Game;

class GameHost : public WindowEvents {
 public:
  // `boxes`: the game's own message boxes, where the platform leaves them to
  // the game (null where its Dialogs answer at once, as headless); `movie`:
  // drawing on the movie's own schedule (null for none).
  explicit GameHost(Game& game, DialogQueue* boxes = nullptr, TimedDrawing* movie = nullptr);
  ~GameHost() override;

  // Once the game has started: the comforts read their files.
  void Begin();

  // To the takers in order: the open box, the comforts, the game's handlers.
  void OnEvent(const InputEvent& event) override;
  // Fires the due timers (none while a taker holds them) and the movie's drawing.
  bool OnFrame(std::int64_t nowMs) override;
  std::optional<std::int64_t> MillisToNextWork(std::int64_t nowMs) override;
  // The game has quit and no box is left to show.
  bool Finished() const override;
  // The client area, with what the comforts show and the open box over it.
  void Compose(std::span<Colour> pixels) override;
  ClientRows ComposeChanges(std::span<Colour> pixels, bool holdsLast) override;
  bool PictureChanged() const override;

  // An author's watch of the content folder (--author): each frame applies
  // what changed (app/live_reload.h). Null, as without one, watches nothing.
  void SetContentWatch(ContentWatch* watch) { contentWatch_ = watch; }

  // One firing of `name`'s handler, if the timer runs.
  void FireTimer(TimerName name);

  Game& game() { return game_; }
  const Game& game() const { return game_; }
  Comforts& comforts() { return comforts_; }
  const Comforts& comforts() const { return comforts_; }
  // The text of the box on screen, if the game shows its own boxes.
  std::optional<std::string> OpenBoxText() const;

 private:
  class GameHandlers;
  bool BoxOpen() const;
  Game& game_;
  DialogQueue* boxes_;
  TimedDrawing* movie_;
  Comforts comforts_;
  std::unique_ptr<GameHandlers> handlers_;
  InputStack takers_;
  ContentWatch* contentWatch_ = nullptr;
  // What the picture is made of, beyond the surfaces' pixels: where they
  // sit and what the comforts and boxes draw over them.
  struct PictureKey {
    std::uint64_t surfaces = 0;  // Surface::LatestRevision()
    int mainLeft = 0, mainTop = 0, skipLeft = 0, skipTop = 0, clientWidth = 0, clientHeight = 0;
    int mainWidth = 0, mainHeight = 0, skipWidth = 0, skipHeight = 0;
    bool mainShown = false, skipShown = false, skipping = false, autoForward = false;
    int typed = 0;
    std::string cornerLine;
    long overlays = 0;  // moves on input or timers that reach what draws over the game
    bool operator==(const PictureKey&) const = default;
  };
  PictureKey CurrentPicture() const;
  // What ComposeChanges last gave: the picture, and the revisions of the
  // surfaces whose changed rows it follows.
  struct KeptPicture {
    PictureKey key;
    std::uint64_t mainPic = 0, skipButton = 0, menu = 0;
  };
  std::optional<ClientRows> RowsToComposeAgain() const;
  bool OverlaysFollowTheirKey() const;
  bool OverlaysDrawNothing() const;
  long overlays_ = 0;
  std::optional<PictureKey> composed_;
  std::optional<KeptPicture> kept_;
  std::unique_ptr<Colour[]> scratch_;
  std::size_t scratchSize_ = 0;
};

}  // namespace pelmot
