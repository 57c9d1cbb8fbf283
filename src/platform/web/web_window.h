// The browser's canvas as the game's window. The browser calls Frame once
// per animation frame; input comes in the browser's own event handlers and
// is handed to the game there, in order, so a click that asks for the full
// screen asks from within the player's gesture, as browsers require. While
// the saves are being written to the browser's storage, input waits and the
// game does not go on; so does the game while what its next step needs is
// still being fetched (SetHold), with the page's loading mark after a while.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "platform/key_repeat.h"
#include "platform/services.h"
#include "platform/web/touch_gesture.h"
#include "platform/window.h"

namespace pelmot {

class WebWindow : public Display {
 public:
  // Listens on the page's canvas (#canvas) and keyboard.
  WebWindow();
  // Starts pumping `core`, one call of Frame per animation frame; returns at
  // once. `finished` runs once the core has finished.
  void Run(WindowEvents& core, std::function<void()> finished);
  // Frames presented so far (the test hook reads it).
  long long FramesShown() const { return framesShown_; }
  // What waits while content the game needs is on its way: the player's
  // input, or the frame's timers as well. Asked before every step.
  enum class Hold { kNone, kInput, kAll };
  void SetHold(std::function<Hold()> hold) { hold_ = std::move(hold); }
  // Steps handed to the game so far (input and frames).
  std::int64_t StepsTaken() const { return steps_; }

  // Display: the page is the start-up mode (0 x 0, see Current); 800 x 600
  // is the browser's full screen.
  DisplaySettings Current() override;
  void Change(const DisplaySettings& settings) override;
  int ScreenWidth() override;
  int ScreenHeight() override;
  int TwipsPerPixel() override { return 15; }
  void MoveWindow(int, int) override {}

  // The browser's event handlers (C callbacks, hence public).
  void Deliver(const InputEvent& event);
  void Frame();
  TouchGesture& touch() { return touch_; }
  // Shift or Ctrl went down or up: a held one repeats its key-down.
  void ModifierPressed(int key, bool down);

 private:
  void Present();
  void PresentIfChanged(double frameBegan);
  ClientRows ToCanvasBytes(ClientRows composed);
  void RepeatModifier(int key, std::int64_t now);
  Hold Holding();
  WindowEvents* core_ = nullptr;
  std::function<void()> finished_;
  std::deque<InputEvent> waiting_;  // input that came while the saves were syncing
  std::vector<Colour> pixels_;
  bool pixelsHoldLast_ = false;  // pixels_ hold what core_ composed last
  std::vector<std::uint32_t> rgba_;
  TouchGesture touch_;
  KeyRepeat shiftRepeat_;
  KeyRepeat ctrlRepeat_;
  PresentGate gate_;
  long long framesShown_ = 0;
  std::function<Hold()> hold_;
  bool markShown_ = false;
  std::int64_t steps_ = 0;
};

// Client pixels (800 x 600) from a position in CSS pixels on the canvas.
void CanvasToClient(double cssX, double cssY, int& x, int& y);

}  // namespace pelmot
