#include "present/text_page.h"

#include "game/game.h"
#include "present/page_memory.h"
#include "present/text_layout.h"

namespace pelmot {
namespace {

// Clears a layer: only the rows known to hold text when that is known.
void ClearKnownLayer(Surface& layer, LayerFact& fact) {
  ClearLayer(layer, fact.HoldsFor(layer) ? fact.inked : RowBand::Whole(layer));
  fact.Cleared(layer);
}

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

void SetMessageSurfacesPersistent(Game& game, bool on) {
  for (Surface* s : {&game.form.Msg, &game.form.MsgWk, &game.form.MsgMk}) s->SetPersistent(on);
}

void ClearTextLayers(Game& game) {
  TextPageFacts& known = KnownTextPage(game);
  ClearKnownLayer(game.form.MsgWk, known.textLayer);
  ClearKnownLayer(game.form.MsgMk, known.textMask);
}

void DrawShadowedRow(Game& game, int x, int y, std::string_view utf8, Colour shadow, RowBand& inked) {
  MainForm& f = game.form;
  TextEngine& text = game.services.text;
  TextPageFacts& known = KnownTextPage(game);
  const bool layerKnown = known.textLayer.HoldsFor(f.MsgWk);
  const bool maskKnown = known.textMask.HoldsFor(f.MsgMk);
  const int sx = x + kShadowOffset, sy = y + kShadowOffset;
  text.Draw(f.MsgMk, sx, sy, utf8, kBlack, f.MsgMk.fontPixels);
  text.Draw(f.MsgMk, x, y, utf8, kBlack, f.MsgMk.fontPixels);
  text.Draw(f.MsgWk, sx, sy, utf8, shadow, f.MsgWk.fontPixels);
  text.Draw(f.MsgWk, x, y, utf8, kTextFace, f.MsgWk.fontPixels);
  // A glyph may reach a little outside its cell; half a cell of margin on
  // either side is more than any face needs.
  const int cell = std::max(f.MsgMk.fontPixels, f.MsgWk.fontPixels);
  RowBand row;
  row.Cover(y - cell / 2, kShadowOffset + 2 * cell);
  known.textLayer.Drew(f.MsgWk, layerKnown, row);
  known.textMask.Drew(f.MsgMk, maskKnown, row);
  inked.Cover(row.top, row.bottom - row.top);
}

void ComposeAndPresent(Game& game, RowBand inked) {
  MainForm& f = game.form;
  TextPageFacts& known = KnownTextPage(game);
  PageFact& page = known.page;
  const bool pageKnown = page.page != 0 && f.Msg.Revision() == page.page;
  const bool shownHeldPage = known.shown.HoldsFor(f.MainPic, f.Msg);
  ComposeText(f.Msg, f.MsgMk, f.MsgWk, inked);
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
  PaintFreshPage({f.Msg, f.MainWork, mask, f.MsgMk, f.MsgWk}, dimmed, work, f.MainPic);
  known.page = {f.Msg.Revision(), f.MainWork.Revision(), mask.Revision(), dimmed, inked};
  PresentPage(game, {}, true);
}

}  // namespace pelmot
