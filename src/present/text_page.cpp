#include "present/text_page.h"

#include "game/game.h"
#include "present/page_memory.h"
#include "present/text_layout.h"

namespace pelmot {
namespace {

// A row of text drawn alone, shadow and face, light on black, before it is
// inked into the layers: only the rows it may touch, kept for the next row.
struct RowPicture {
  Surface rows{0, 0};
};

// After the page changed in `changed`: MainPic's kept image gets those rows
// of it (all of them unless it held the page before) and the screen is
// refreshed.
void PresentPage(Game& game, RowBand changed, bool shownHeldPage) {
  MainForm& f = game.form;
  f.MainPic.SetPersistent(true);
  CopyRows(f.MainPic, f.Msg, shownHeldPage ? changed : RowBand::Whole(f.Msg));
  f.MainPic.Refresh();
  const bool samePage = f.MainPic.Width() == f.Msg.Width() && f.MainPic.Height() == f.Msg.Height();
  KnownTextPage(game).shown = samePage ? ShownFact{f.MainPic.Revision(), f.Msg.Revision()} : ShownFact{};
}

}  // namespace

void SetMessageSurfacesPersistent(Game& game, bool on) { game.form.Msg.SetPersistent(on); }

void ClearTextLayers(Game& game) { game.form.MsgInk.Clear(); }

void DrawShadowedRow(Game& game, int x, int y, std::string_view utf8, Colour shadow, RowBand& inked) {
  MainForm& f = game.form;
  TextEngine& text = game.services.text;
  // A glyph may reach a little outside its cell; half a cell of margin on
  // either side is more than any face needs.
  const int cell = f.MsgInk.fontPixels;
  RowBand row;
  row.Cover(y - cell / 2, kShadowOffset + 2 * cell);
  inked.Cover(row.top, row.bottom - row.top);
  const int top = std::max(row.top, 0), bottom = std::min(row.bottom, f.MsgInk.Height());
  if (bottom <= top) return;
  // The face over the shadow, as the layer holds them; the mask is black
  // wherever either is, which is where the ink goes. Neither is black.
  Surface& drawn = game.parts.Get<RowPicture>().rows;
  drawn.SetPersistent(true);
  if (drawn.Width() != f.MsgInk.Width() || drawn.Height() != bottom - top)
    drawn.Resize(f.MsgInk.Width(), bottom - top);
  else
    drawn.Clear();
  text.Draw(drawn, x + kShadowOffset, y + kShadowOffset - top, utf8, shadow, cell);
  text.Draw(drawn, x, y - top, utf8, kTextFace, cell);
  f.MsgInk.InkFrom(drawn, 0, top);
}

void ComposeAndPresent(Game& game, RowBand inked) {
  MainForm& f = game.form;
  TextPageFacts& known = KnownTextPage(game);
  PageFact& page = known.page;
  const bool pageKnown = page.page != 0 && f.Msg.Revision() == page.page;
  const bool shownHeldPage = known.shown.HoldsFor(f.MainPic, f.Msg);
  ComposeText(f.Msg, f.MsgInk, inked);
  if (pageKnown) {
    page.page = f.Msg.Revision();
    page.text.Cover(inked.top, inked.bottom - inked.top);
  } else {
    page.Forget();
  }
  PresentPage(game, inked, shownHeldPage);
}

void ComposeFreshPageAndPresent(Game& game, const DimmedArea& dimmed, RowBand inked) {
  MainForm& f = game.form;
  const Surface& mask = game.state.SysPic[kDimmingMask];
  TextPageFacts& known = KnownTextPage(game);
  // Rows that held no text on the last page of the same picture need no work.
  FreshPageWork work;
  work.inked = inked;
  work.rewrite = known.page.HoldsFor(f.Msg, f.MainWork, mask, dimmed) ? known.page.text : RowBand::Whole(f.Msg);
  work.rewrite.Cover(inked.top, inked.bottom - inked.top);
  work.copyAll = !known.shown.HoldsFor(f.MainPic, f.Msg);
  f.MainPic.SetPersistent(true);
  PaintFreshPage({f.Msg, f.MainWork, mask, f.MsgInk}, dimmed, work, f.MainPic);
  known.page = {f.Msg.Revision(), f.MainWork.Revision(), mask.Revision(), dimmed, inked};
  PresentPage(game, {}, true);
}

}  // namespace pelmot
