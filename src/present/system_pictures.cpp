#include "present/system_pictures.h"

#include "game/game.h"
#include "present/status_display.h"

namespace pelmot {

namespace {

// A system picture is kept all session: on pixels of its own, it leaves
// the picture loader's memory free to let its copy go.
void OwnPixels(Surface& picture) { picture.MutableImage(); }

}  // namespace

void LoadSystemPicture(Game& game, int index) {
  Surface& work = game.form.MainWork;
  game.services.pictures.PicLoad(work, index, game.SystemPictureFolder());
  Surface& picture = game.state.SysPic[index];
  picture = work;
  picture.SetShown(false);
  OwnPixels(picture);
  work.Clear();
  game.mainWorkPicture = kNoPicture;
}

void EnsureSystemPicture(Game& game, int index) {
  const Surface& picture = game.state.SysPic[index];
  if (picture.Width() == 0 || picture.Height() == 0) LoadSystemPicture(game, index);
}

const Surface& StatusSheet(Game& game) {
  Surface& sheet = game.state.SysPic[kStatusSheet];
  if (game.statusSheetDue) {
    game.statusSheetDue = false;
    // What LoadSystemPicture made of it from MainWork as it is at start-up:
    // a clear picture of the screen's size with the sheet at its origin.
    Surface loaded(kScreenWidth, kScreenHeight);
    game.services.pictures.PicLoad(loaded, kStatusSheet, game.SystemPictureFolder());
    sheet = std::move(loaded);
    OwnPixels(sheet);
  }
  return sheet;
}

void PaintSkipButtonOnce(Game& game) {
  if (game.skipButtonPainted) return;
  const SheetRect& button = status_sheet::kSkipButton;
  game.form.SkipB.BitBlt(0, 0, button.w, button.h, StatusSheet(game), button.x, button.y, Rop::SrcCopy);
  game.skipButtonPainted = true;
}

}  // namespace pelmot
