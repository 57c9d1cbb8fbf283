// The gallery's two modes: the album (kModeAlbum), whose page is picked by
// its buttons and cells and whose viewer a click advances (a right press
// goes back to the page), and the slideshow
// (kModeSlideShow), which a click advances and a right press leaves.
#include "flow/album_mode.h"
#include "flow/mode_units.h"
#include "gallery/album_table.h"
#include "gallery/gallery.h"
#include "game/game.h"
#include "game/run_flow.h"

namespace pelmot {
namespace {

void TurnPage(Game& game, int by) {
  game.state.AlbumPage = Add16(game.state.AlbumPage, by);
  ShowAlbum(game);
}

void ViewEntry(Game& game, int cell) {
  GameState& s = game.state;
  const int entry = kAlbumCells * s.AlbumPage + cell;
  if (s.AlbumPage == kAlbumLastPage && entry >= kAlbumEntries) return;  // the last page's empty cell
  s.SceneNo = static_cast<std::int16_t>(entry);
  game.form.MainPic.enabled = false;
  ResetStep(game);
  s.FlowMode = kModeAlbum;
  s.StepNo[kModeAlbum] = 0;
  RunFlow(game);
}

class AlbumMode : public Mode {
 public:
  void Step(Game& game) const override { AlbumView(game); }

  void Pick(Game& game, int x, int y) const override {
    const GameState& s = game.state;
    const AlbumHit hit = HitTestAlbum(x, y);
    switch (hit.region) {
      case AlbumRegion::Previous:
        if (s.AlbumPage != 0) TurnPage(game, -1);
        break;
      case AlbumRegion::Leave:
        game.form.MainPic.enabled = false;
        ReturnToTitle(game);
        RunFlow(game);
        break;
      case AlbumRegion::Next:
        if (s.AlbumPage != kAlbumLastPage) TurnPage(game, 1);
        break;
      case AlbumRegion::Cell: ViewEntry(game, hit.cell); break;
      case AlbumRegion::None: break;
    }
  }

  // `row` is a cell 0 ... 8 in reading order.
  std::optional<Point> PickPoint(const Game& /*game*/, int row) const override {
    if (row < 0 || row >= kAlbumCells) return std::nullopt;
    return AlbumCellMiddle(row);
  }

  // The album page has no frame.
  void Hover(Game& /*game*/, int /*x*/, int /*y*/) const override {}

  // In the viewer (a click advances): a right press goes back to the page
  // at once, as the advance after the entry's last picture does.
  void WindowPress(Game& game, PointerButton button) const override {
    if (button == PointerButton::Left) {
      Advance(game);
    } else {
      ResetStep(game);
      ShowAlbum(game);
    }
  }

  void PictureRightPress(Game& /*game*/) const override {}
  bool OffersSkipButton() const override { return false; }
};

class SlideShowMode : public MenuMode {
 public:
  void Step(Game& game) const override { SlideShow(game); }

  void WindowPress(Game& game, PointerButton button) const override {
    if (button == PointerButton::Left) {
      Advance(game);
    } else {
      ReturnToTitle(game);
      RunFlow(game);
    }
  }
};

}  // namespace

AlbumHit HitTestAlbum(int x, int y) {
  if (kAlbumPrevious.Contains(x, y)) return {AlbumRegion::Previous, 0};
  if (kAlbumLeave.Contains(x, y)) return {AlbumRegion::Leave, 0};
  if (kAlbumNext.Contains(x, y)) return {AlbumRegion::Next, 0};
  for (int cell = 0; cell < kAlbumCells; ++cell)
    if (AlbumCell(cell).Contains(x, y)) return {AlbumRegion::Cell, cell};
  return {};
}

const Mode& AlbumModeUnit() {
  static const AlbumMode mode;
  return mode;
}

const Mode& SlideShowModeUnit() {
  static const SlideShowMode mode;
  return mode;
}

}  // namespace pelmot
