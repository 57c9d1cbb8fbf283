// The real window: SDL's events become the program's handler calls, and the
// client area is presented scaled to whatever size the window has (see
// Present for how).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/services.h"
#include "platform/timed_drawing.h"
#include "platform/window.h"

namespace pelmot {

class InWindowMessageBox;

class SdlWindow : public Dialogs, public Display {
 public:
  SdlWindow();
  ~SdlWindow() override;
  bool Open(const std::string& title, std::string& error);
  // The font of the message boxes, which are drawn inside the window.
  void SetTextEngine(TextEngine* text);
  // Drawing on its own schedule between events (the logo movie).
  void SetTimedDrawing(TimedDrawing* drawing);
  // Called once, right after the first picture reaches the screen.
  void OnFirstPresent(std::function<void()> listener);
  // Runs until events.Finished(); events are handled strictly in order.
  void Run(WindowEvents& events);

  // Dialogs: modal boxes drawn in the window over the dimmed client area,
  // answered with the pointer or with Enter (the focused button) and Escape.
  bool AskYesNo(const std::string& text) override;
  void ShowMessage(const std::string& text) override;
  // Display: the start-up mode is the window; 800 x 600 is full screen.
  DisplaySettings Current() override;
  void Change(const DisplaySettings& settings) override;
  int ScreenWidth() override;
  int ScreenHeight() override;
  int TwipsPerPixel() override;
  void MoveWindow(int left, int top) override;

 private:
  struct Impl;
  void Present(const std::vector<Colour>& pixels);
  bool Enlarge(const std::vector<Colour>& pixels, int multiple);
  int RunBox(InWindowMessageBox& box);
  void RestoreWindowed();
  std::unique_ptr<Impl> impl_;
};

}  // namespace pelmot
