// What the game asks of the machine it runs on. The game core sees only
// these interfaces; the SDL window and the headless runner implement them.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/surface.h"

namespace pelmot {

struct LocalDateTime {
  int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
  friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

// The three fields of a display-settings record that the game uses.
struct DisplaySettings {
  int bitsPerPixel = 32;
  int width = 0;
  int height = 0;
  friend bool operator==(const DisplaySettings&, const DisplaySettings&) = default;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime Now() = 0;
};

// Message boxes. Neither call waits for the player: a box opens and the
// game takes no other input until it is answered; boxes opened while one is
// up come after it in turn.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A yes/no box; `answered` runs with true for yes once the player answers
  // (at once, before AskYesNo returns, where the answer is known already).
  virtual void AskYesNo(const std::string& text, std::function<void(bool yes)> answered) = 0;
  // A box with an OK button.
  virtual void ShowMessage(const std::string& text) = 0;
};

class Display {
 public:
  virtual ~Display() = default;
  virtual DisplaySettings Current() = 0;
  virtual void Change(const DisplaySettings& settings) = 0;
  // Screen size in pixels (of the current mode) and twips per pixel (15 at 96 dpi).
  virtual int ScreenWidth() = 0;
  virtual int ScreenHeight() = 0;
  virtual int TwipsPerPixel() = 0;
  virtual void MoveWindow(int left, int top) = 0;
};

// The multimedia command strings ("open ...", "play ... window", "close ...").
class Multimedia {
 public:
  virtual ~Multimedia() = default;
  virtual void SendString(const std::string& command) = 0;
  virtual void Execute(const std::string& command) = 0;
};

// Draws picture `number` of the picture set in `folder` into the target's
// kept image at the origin.
class PictureLoader {
 public:
  virtual ~PictureLoader() = default;
  virtual void PicLoad(Surface& target, int number, const std::string& folder) = 0;
};

// Measures and draws UTF-8 text in the window's font at a pixel size.
class TextEngine {
 public:
  virtual ~TextEngine() = default;
  virtual int Width(std::string_view utf8, int pixelSize) = 0;
  // Draws with a transparent background into target's current drawing target;
  // x, y is the top-left corner of the first character cell.
  virtual void Draw(Surface& target, int x, int y, std::string_view utf8, Colour colour,
                    int pixelSize) = 0;
};

// Everything together; the game holds a reference to one of these.
struct Services {
  Clock& clock;
  Dialogs& dialogs;
  Display& display;
  Multimedia& multimedia;
  PictureLoader& pictures;
  TextEngine& text;
};

}  // namespace pelmot
