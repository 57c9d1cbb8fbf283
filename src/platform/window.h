// What a window sends to the program and asks of it. The platform pumps: it
// hands over each event as it arrives and calls OnFrame once per frame; the
// program never blocks and never waits for input of its own. The SDL window
// calls these and knows nothing of the game behind them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/surface.h"

namespace pelmot {

// Windows' virtual key codes. The game's own handlers take Enter, Shift and
// F1 (other keys reach them as 0); a message box and the player's comforts
// (backlog, quick save, keyboard navigation, ...) take the rest.
enum VirtualKey {
  kVkTab = 9,
  kVkEnter = 13,
  kVkShift = 16,
  kVkControl = 17,
  kVkEscape = 27,
  kVkSpace = 32,
  kVkPageUp = 33,
  kVkPageDown = 34,
  kVkEnd = 35,
  kVkHome = 36,
  kVkLeft = 37,
  kVkUp = 38,
  kVkRight = 39,
  kVkDown = 40,
  kVkA = 65,
  kVkC = 67,
  kVkV = 86,
  kVkF1 = 112,
  kVkF2 = 113,
  kVkF3 = 114,
  kVkF5 = 116,
  kVkF9 = 120,
  kVkF12 = 123,
};

struct InputEvent {
  enum class Kind {
    kMouseDown,
    kMouseUp,
    kMouseMove,
    kKeyDown,
    kKeyUp,
    kCloseRequested,  // the player closes the window
    kDialogAnswered,  // `answer`: the button chosen in the open message box
    kWheel,           // the mouse wheel turned by `wheel` notches
  };
  Kind kind = Kind::kMouseMove;
  int button = 0;    // 1 left, 2 right, 4 middle; 0 for a move
  int shift = 0;     // 1 while Shift is down
  int ctrl = 0;      // 1 while Ctrl is down
  int x = 0, y = 0;  // pixels of the 800 x 600 client area
  int key = 0;       // a VirtualKey, 0 for any other key
  int answer = 0;    // the button's index, 0 the first
  int wheel = 0;     // notches: positive away from the player (up), negative down
  int repeat = 0;    // 1 for a held key's repeated key-down
};

class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  // One event, in the order they arrived.
  virtual void OnEvent(const InputEvent& event) = 0;
  // Once per frame, at nowMs on a monotonic clock: fires the timers that are
  // due and draws what the movie has due. True when the picture changed.
  virtual bool OnFrame(std::int64_t nowMs) = 0;
  // How long a desktop loop may sleep from nowMs before OnFrame has work
  // (0: at once); nothing while only input can change anything.
  virtual std::optional<std::int64_t> MillisToNextWork(std::int64_t nowMs) = 0;
  virtual bool Finished() const = 0;
  // The client area as it is now, into `pixels`: 800 x 600, row by row
  // (a span of any other size is left as it is).
  virtual void Compose(std::span<Colour> pixels) = 0;
  // Compose for a window that keeps its picture: where `holdsLast`, the
  // pixels still hold what this call gave last time, and only the rows
  // that may have changed since are composed again. Returns the rows
  // composed (all of them unless the program knows better).
  virtual ClientRows ComposeChanges(std::span<Colour> pixels, bool holdsLast) {
    (void)holdsLast;
    Compose(pixels);
    return {0, kScreenHeight};
  }
  // Whether Compose would now give another picture than the one it gave
  // last (true before the first). A window presents only then, unless it
  // must show its picture again for reasons of its own (exposed, resized).
  virtual bool PictureChanged() const { return true; }
};

// When a window presents: after input, a frame that did work or a change of
// the window itself, and only if the picture changed since the last present
// or the window needs it shown again. Counts the presents.
class PresentGate {
 public:
  // Something happened that may have changed the picture.
  void Stirred() { stirred_ = true; }
  // The window must show its picture again (exposed, resized, scaled).
  void WindowChanged() { forced_ = true; }
  // Whether the window itself asked for its picture again.
  bool Forced() const { return forced_; }
  // Whether anything waits to be looked at.
  bool Pending() const { return stirred_ || forced_; }
  // Whether to compose and present now; false also settles what stirred
  // without changing the picture.
  bool Due(const WindowEvents& core) {
    if (forced_ || (stirred_ && core.PictureChanged())) return true;
    stirred_ = false;
    return false;
  }
  void Presented() {
    stirred_ = forced_ = false;
    ++presents_;
  }
  long long Presents() const { return presents_; }

 private:
  bool stirred_ = true;  // the first picture is always shown
  bool forced_ = false;
  long long presents_ = 0;
};

}  // namespace pelmot
