// The game's message boxes as a state of its own rather than a loop: a box
// opens, the pump sends it the input until it is answered, and the answer
// runs what waited for it. While a box is open it is drawn over the dimmed
// picture and the game takes no input; boxes opened meanwhile wait in turn.
#pragma once

#include <deque>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "game/input_stack.h"
#include "platform/message_box.h"
#include "platform/services.h"
#include "platform/window.h"

namespace pelmot {

// While a box is open it takes every event and the game's timers wait.
class DialogQueue : public Dialogs, public InputTaker {
 public:
  // `text` measures and draws the boxes; without it only frames and buttons show.
  explicit DialogQueue(TextEngine* text) : text_(text) {}

  void AskYesNo(const std::string& text, std::function<void(bool yes)> answered) override;
  void ShowMessage(const std::string& text) override;

  bool Open() const { return !boxes_.empty(); }
  std::size_t Count() const { return boxes_.size(); }
  // The box on screen; only while Open().
  const InWindowMessageBox& Front() const { return boxes_.front().box; }
  const std::string& FrontText() const { return boxes_.front().text; }

  // An event while a box is open; it reaches the box and nothing else.
  void OnEvent(const InputEvent& event);
  bool Take(const InputEvent& event) override {
    if (!Open()) return false;
    OnEvent(event);
    return true;
  }
  bool HoldsTimers() const override { return Open(); }
  // Closes the box on screen with button `button` and runs what waited for it.
  void Answer(int button);
  // Dims `pixels` (800 x 600) and draws the box on screen over them.
  void DrawOver(std::span<Colour> pixels) const;

 private:
  struct OpenBox {
    std::string text;
    InWindowMessageBox box;
    std::function<void(bool yes)> answered;  // empty for a message
  };
  int BoxInput(InWindowMessageBox& box, const InputEvent& event);
  TextEngine* text_;
  std::deque<OpenBox> boxes_;
};

// Boxes and nothing else, for a window with no game behind it yet (a problem
// found at start-up): finished once every box is answered.
class BoxesOnly : public WindowEvents {
 public:
  explicit BoxesOnly(DialogQueue& boxes) : boxes_(boxes) {}
  void OnEvent(const InputEvent& event) override { boxes_.OnEvent(event); }
  bool OnFrame(std::int64_t) override { return false; }
  std::optional<std::int64_t> MillisToNextWork(std::int64_t) override { return std::nullopt; }
  bool Finished() const override { return !boxes_.Open(); }
  void Compose(std::span<Colour> pixels) override;

 private:
  DialogQueue& boxes_;
};

}  // namespace pelmot
