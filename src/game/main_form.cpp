#include "game/main_form.h"

namespace pelmot {

MainForm::MainForm() : SkipB(20, 180) {
  MainPic.SetShown(true);
  MainPic.enabled = false;
  MainPic.visible = false;
  MsgMk.backColour = kWhite;
  MsgMk.Clear();
  SkipB.left = 780;
  SkipB.top = 410;
  SkipB.visible = false;
}

void MainForm::ShowOnMainPic(const Surface& source) {
  MainPic.SetPersistent(true);
  MainPic.BitBlt(0, 0, 800, 600, source, 0, 0, Rop::SrcCopy);
  MainPic.SetPersistent(false);
  MainPic.Refresh();
}

}  // namespace pelmot
