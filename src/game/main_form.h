// The window's controls: the visible picture, the off-screen surfaces of the
// message window and menus, the skip button and the timers.
#pragma once

#include "game/timers.h"
#include "platform/ink_layers.h"
#include "platform/surface.h"

namespace pelmot {

struct MainForm {
  MainForm();
  MainForm(const MainForm&) = delete;  // SkipTimer refers into its own timers
  MainForm& operator=(const MainForm&) = delete;

  Surface MainPic;   // the visible game surface
  Surface MainWork;  // the current picture without the message window
  Surface Msg;       // the composed page
  InkLayers MsgInk;  // the page's text: glyphs and their shadows, inked
  Surface CMenu;     // the drawn menu, kept for highlight and pick
  Surface SkipB;     // the skip button at the right edge (kSkipStrip)
  Timers timers;
  Timer& SkipTimer = timers[TimerName::Skip];
  // Where the game stops skipping (a choice, a menu, a question, a new step
  // count): turning pages on their own stops there too, and skipStops counts
  // every such stop.
  void StopSkipping() {
    SkipTimer.enabled = false;
    timers[TimerName::AutoForward].enabled = false;
    ++skipStops;
  }
  long skipStops = 0;

  // Puts the whole of `source` on MainPic's kept image and on the screen:
  // persistent drawing on, copy, off, refresh.
  void ShowOnMainPic(const Surface& source);
  int clientWidth = kScreenWidth;
  int clientHeight = kScreenHeight;
};

}  // namespace pelmot
