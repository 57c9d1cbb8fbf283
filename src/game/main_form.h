// The window's controls: the visible picture, the off-screen surfaces of the
// message window and menus, the skip button and the skip timer.
#pragma once

#include "platform/surface.h"

namespace pelmot {

struct Timer {
  bool enabled = false;
  int intervalMs = 10;
};

struct MainForm {
  MainForm();

  Surface MainPic;   // the visible game surface
  Surface MainWork;  // the current picture without the message window
  Surface Msg;       // the composed page
  Surface MsgWk;     // text layer: coloured glyphs on black
  Surface MsgMk;     // text mask: black glyphs on white
  Surface CMenu;     // the drawn menu, kept for highlight and pick
  Surface SkipB;     // the skip button at the right edge (kSkipStrip)
  Timer SkipTimer;

  // Puts the whole of `source` on MainPic's kept image and on the screen:
  // persistent drawing on, copy, off, refresh.
  void ShowOnMainPic(const Surface& source);
  int clientWidth = kScreenWidth;
  int clientHeight = kScreenHeight;
};

}  // namespace pelmot
