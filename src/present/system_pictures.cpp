#include "present/system_pictures.h"

#include "game/game.h"

namespace pelmot {

void LoadSystemPicture(Game& game, int index) {
  Surface& work = game.form.MainWork;
  game.services.pictures.PicLoad(work, index, game.SystemPictureFolder());
  Surface& picture = game.state.SysPic[index];
  picture = work;
  picture.SetShown(false);
  work.Clear();
  game.mainWorkPicture = kNoPicture;
}

void EnsureSystemPicture(Game& game, int index) {
  const Surface& picture = game.state.SysPic[index];
  if (picture.Width() == 0 || picture.Height() == 0) LoadSystemPicture(game, index);
}

}  // namespace pelmot
