#include "game/main_form.h"

#include "game/screen_geometry.h"

namespace pelmot {

MainForm::MainForm() : SkipB(kSkipStrip.width, kSkipStrip.height) {
  MainPic.SetShown(true);
  MainPic.enabled = false;
  MainPic.visible = false;
  SkipB.left = kSkipStrip.left;
  SkipB.top = kSkipStrip.top;
  SkipB.visible = false;
}

void MainForm::ShowOnMainPic(const Surface& source) {
  MainPic.SetPersistent(true);
  MainPic.BitBlt(0, 0, kScreenWidth, kScreenHeight, source, 0, 0, Rop::SrcCopy);
  MainPic.SetPersistent(false);
  MainPic.Refresh();
}

}  // namespace pelmot
