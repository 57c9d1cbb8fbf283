// A message box drawn inside the game's window, in the game's own font: a
// text and a row of buttons over the dimmed client area. The window's loop
// feeds it the pointer and keys; it says which button was chosen.
//
// Drawn in the window rather than by the desktop because the desktop's own
// box may have no font for Japanese (or no box at all).
#pragma once

#include <string>
#include <vector>

#include "platform/services.h"

namespace pelmot {

struct BoxRect {
  int x = 0, y = 0, w = 0, h = 0;
  bool Contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
};

class InWindowMessageBox {
 public:
  enum class Key { kEnter, kEscape, kNext, kPrevious };
  static constexpr int kNone = -1;

  // `enter`: the button focused at first; `escape`: the one Escape chooses.
  // `text` may be null: then only the frame and the buttons are drawn.
  InWindowMessageBox(const std::string& message, std::vector<std::string> buttons, int enter, int escape,
                     TextEngine* text, int areaWidth = 800, int areaHeight = 600);

  // Over `screen` (the client area as it was): dims it and draws the box.
  void Draw(Surface& screen) const;

  // Input; each returns the button chosen, or kNone while the box stays.
  int PointerMoved(int x, int y);
  int PointerPressed(int x, int y);
  int PointerReleased(int x, int y);
  int KeyPressed(Key key);

  const BoxRect& Frame() const { return frame_; }
  const BoxRect& Button(int i) const { return buttonRects_[i]; }
  const std::vector<std::string>& Lines() const { return lines_; }
  int Focus() const { return focus_; }

  static constexpr int kTextPixels = 20;
  static constexpr int kLineHeight = 28;

 private:
  int ButtonAt(int x, int y) const;
  std::vector<std::string> Wrap(const std::string& message, int width) const;
  int TextWidth(const std::string& s) const;

  std::vector<std::string> buttons_;
  int escape_;
  TextEngine* text_;
  std::vector<std::string> lines_;
  BoxRect frame_;
  std::vector<BoxRect> buttonRects_;
  int focus_;
  int hover_ = kNone;
  int pressed_ = kNone;
};

}  // namespace pelmot
