// The real window: SDL's events become the program's handler calls, and the
// client area is presented scaled to whatever size the window has.
#pragma once

#include <memory>
#include <string>

#include "platform/services.h"
#include "platform/window.h"

namespace pelmot {

class SdlWindow : public Dialogs, public Display {
 public:
  SdlWindow();
  ~SdlWindow() override;
  bool Open(const std::string& title, std::string& error);
  // Runs until events.Finished(); events are handled strictly in order.
  void Run(WindowEvents& events);

  // Dialogs
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
  std::unique_ptr<Impl> impl_;
};

}  // namespace pelmot
