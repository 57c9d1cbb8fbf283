#include "present/text_page.h"

#include "flow/game.h"
#include "present/text_layout.h"

namespace pelmot {

void SetMessageSurfacesPersistent(Game& game, bool on) {
  for (Surface* s : {&game.form.Msg, &game.form.MsgWk, &game.form.MsgMk}) s->SetPersistent(on);
}

void ClearTextLayers(Game& game) {
  ClearLayer(game.form.MsgWk);
  ClearLayer(game.form.MsgMk);
}

void DrawShadowedRow(Game& game, int x, int y, std::string_view utf8, Colour shadow,
                     RowBand& inked) {
  MainForm& f = game.form;
  TextEngine& text = game.services.text;
  const int sx = x + kShadowOffset, sy = y + kShadowOffset;
  text.Draw(f.MsgMk, sx, sy, utf8, kBlack, f.MsgMk.fontPixels);
  text.Draw(f.MsgMk, x, y, utf8, kBlack, f.MsgMk.fontPixels);
  text.Draw(f.MsgWk, sx, sy, utf8, shadow, f.MsgWk.fontPixels);
  text.Draw(f.MsgWk, x, y, utf8, kTextFace, f.MsgWk.fontPixels);
  // A glyph may reach a little outside its cell; a whole cell of margin on
  // either side is more than any face needs.
  const int cell = std::max(f.MsgMk.fontPixels, f.MsgWk.fontPixels);
  inked.Cover(y - cell, kShadowOffset + 3 * cell);
}

void ComposeAndPresent(Game& game, RowBand inked) {
  MainForm& f = game.form;
  ComposeText(f.Msg, f.MsgMk, f.MsgWk, inked);
  f.MainPic.SetPersistent(true);
  f.MainPic.BitBlt(0, 0, 800, 600, f.Msg, 0, 0, Rop::SrcCopy);
  f.MainPic.Refresh();
}

void ComposeFreshPageAndPresent(Game& game, const DimmedArea& dimmed, RowBand inked) {
  MainForm& f = game.form;
  f.MainPic.SetPersistent(true);
  PaintFreshPage({f.Msg, f.MainWork, game.state.SysPic[0], f.MsgMk, f.MsgWk}, dimmed, inked, f.MainPic);
  f.MainPic.Refresh();
}

}  // namespace pelmot
