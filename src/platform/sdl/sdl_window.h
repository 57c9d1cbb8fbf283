// The real window: SDL's events are pumped into the program one by one, and
// the client area is presented scaled to whatever size the window has (see
// Present for how).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/services.h"
#include "platform/window.h"

namespace pelmot {

class SdlWindow : public Display {
 public:
  SdlWindow();
  ~SdlWindow() override;
  // What the window asks of the process's environment, done before any
  // thread starts (the environment is not safe to change later).
  static void PrepareEnvironment();
  bool Open(const std::string& title, std::string& error);
  // Called once, right after the first picture reaches the screen.
  void OnFirstPresent(std::function<void()> listener);
  // Called after every present with the number of pictures presented so
  // far: one for each change of the picture (60 a second at most), and one
  // whenever the window needs it shown again.
  void OnPresent(std::function<void(long long presents)> listener);
  // Pumps events and frames into `core` until core.Finished(); events are
  // handed over strictly in order. May run more than once.
  void Run(WindowEvents& core);
  // Wakes Run's loop from any thread, so it calls OnFrame at once (say,
  // after a change in the content folder).
  static void Wake();

  // Display: the start-up mode is the window; 800 x 600 is full screen.
  DisplaySettings Current() override;
  void Change(const DisplaySettings& settings) override;
  int ScreenWidth() override;
  int ScreenHeight() override;
  int TwipsPerPixel() override;
  void MoveWindow(int left, int top) override;
  void SizeWindow(int multiple) override;

 private:
  struct Impl;
  void ComposeAndPresent(WindowEvents& core, bool windowChanged);
  bool ComposeIntoWindowSurface(WindowEvents& core, bool windowChanged);
  bool EnsureTexture();
  void ComposeIntoTexture(WindowEvents& core);
  void ComposeIntoPixels(WindowEvents& core);
  bool Enlarge(const std::vector<Colour>& pixels, int multiple);
  void RestoreWindowed();
  std::unique_ptr<Impl> impl_;
};

}  // namespace pelmot
