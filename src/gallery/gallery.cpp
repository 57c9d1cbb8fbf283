#include "gallery/gallery.h"

#include "gallery/album_table.h"
#include "game/game.h"
#include "game/run_flow.h"
#include "platform/ui_text.h"
#include "present/menu_page.h"
#include "present/pictures.h"
#include "present/system_pictures.h"
#include "present/text_window.h"

namespace pelmot {
namespace {

bool ThumbnailLit(const GameState& s, const AlbumEntry& entry) {
  for (int n = entry.thumbFirst; n <= entry.thumbLast; ++n)
    if (s.CgSeen[n]) return true;
  return false;
}

void DrawPage(Game& game, int page) {
  EnsureSystemPicture(game, AlbumPagePicture(page));
  EnsureSystemPicture(game, AlbumSheetPicture(page));
  const GameState& s = game.state;
  Surface& work = game.form.MainWork;
  work.PaintPicture(s.SysPic[AlbumPagePicture(page)], 0, 0);
  const Surface& sheet = s.SysPic[AlbumSheetPicture(page)];
  for (int cell = 0; cell < kAlbumCells; ++cell) {
    const int entry = kAlbumCells * page + cell;
    if (entry >= kAlbumEntries) break;  // page 4 has eight entries
    if (!ThumbnailLit(s, kAlbum[entry])) continue;
    const ScreenRect r = AlbumCell(cell);
    work.BitBlt(r.left, r.top, r.width, r.height, sheet, r.left, r.top, Rop::SrcCopy);
  }
}

}  // namespace

void ShowAlbum(Game& game) {
  GameState& s = game.state;
  s.ShownPic = kNoPicture;
  if (s.AlbumPage >= 0 && s.AlbumPage <= kAlbumLastPage) {
    DrawPage(game, s.AlbumPage);
    game.mainWorkPicture = kNoPicture;
  }
  game.form.ShowOnMainPic(game.form.MainWork);
  game.form.MainPic.enabled = true;
}

void AlbumView(Game& game) {
  GameState& s = game.state;
  if (s.SceneNo < 0 || s.SceneNo >= kAlbumEntries) return;
  const AlbumEntry& entry = kAlbum[s.SceneNo];
  const int position = s.StepNo[kModeAlbum];
  if (position >= entry.viewCount || position < 0) {
    ResetStep(game);
    ShowAlbum(game);
    return;
  }
  const int picture = entry.viewFirst + position;
  if (s.CgSeen[picture]) {
    ShowEventPic(game, picture, PictureShow::Now);
    return;
  }
  // An unseen picture is passed over within the same event.
  s.StepNo[kModeAlbum] = Add16(s.StepNo[kModeAlbum], 1);
  RunFlow(game);
}

void SlideShow(Game& game) {
  GameState& s = game.state;
  const int position = s.StepNo[kModeSlideShow];
  if (position == kSlideCompletion) {
    ShowText2(game, UiFormat(UiText::cg_completion, {std::to_string(s.SlideNo), std::to_string(kGalleryPictures)}));
    return;
  }
  if (position >= kSlideLeave || position < 0) {
    ReturnToTitle(game);
    RunFlow(game);
    return;
  }
  const int picture = position + kSlideFirstPicture;
  if (position != kSlideSkipped && s.CgSeen[picture]) {
    ShowEventPic(game, picture, PictureShow::Now);
    s.SlideNo = Add16(s.SlideNo, 1);
    return;
  }
  s.StepNo[kModeSlideShow] = Add16(s.StepNo[kModeSlideShow], 1);
  RunFlow(game);
}

}  // namespace pelmot
