// ShowText and ShowText2: one scenario line laid out in rows over the
// dimmed picture, with the rest kept in PendingText when the page fills.
#include "present/text_window.h"

#include "flow/game.h"
#include "platform/utf8.h"
#include "present/text_layout.h"
#include "present/text_page.h"

namespace pelmot {
namespace {

// The message window dims only its own area (760 x 180 at 20, 410, from the
// top left of the mask); the full-screen page dims everything.
struct DimmedArea {
  int x, y, w, h;
};
constexpr DimmedArea kWindowDimmed{20, 410, 760, 180};
constexpr DimmedArea kWholePage{0, 0, 800, 600};

struct TextWindowKind {
  const TextLayout& layout;
  DimmedArea dimmed;
  bool continueClearsLayers;  // ShowText2 clears MsgWk and MsgMk on "@"
};

void ClearTextLayers(MainForm& f) {
  f.MsgWk.Clear();
  f.MsgMk.Clear();
}

// A fresh page: the picture waiting in MainWork, dimmed, and empty layers.
// (Msg needs no clearing of its own: the picture covers all of it.)
void StartFreshPage(Game& game, const DimmedArea& dim) {
  MainForm& f = game.form;
  ClearTextLayers(f);
  const Surface& mask = game.state.SysPic[0];
  CopyDimmed(f.Msg, f.MainWork, mask, dim.x, dim.y, dim.w, dim.h, 0, 0);
}

void ShowLine(Game& game, const std::string& argument, const TextWindowKind& kind) {
  GameState& s = game.state;
  MainForm& f = game.form;
  SetMessageSurfacesPersistent(game, true);
  // A page that waits to be continued wins over whatever the step passes.
  const std::u32string text = DecodeUtf8(s.PendingText.empty() ? argument : s.PendingText);
  const bool continues = StartsWithContinueMark(text);
  // Without a continue mark the layers start blank, so only the rows drawn
  // now need composing; a continued window page may hold earlier text.
  RowBand inked;
  if (!continues) {
    s.LineNo = 0;
    StartFreshPage(game, kind.dimmed);
  } else if (kind.continueClearsLayers) {
    ClearTextLayers(f);
  } else {
    inked = RowBand::Whole(f.Msg);
  }
  TextEngine& engine = game.services.text;
  const int measureSize = f.Msg.fontPixels;
  const PageLayout page = LayOutPage(
      text, continues ? 1 : 0, s.LineNo, kind.layout,
      [&](std::u32string_view row) { return engine.Width(EncodeUtf8(row), measureSize); });
  for (const LaidOutRow& row : page.rows)
    DrawShadowedRow(game, kind.layout.textX, kind.layout.textY + kRowPitch * row.lineNo,
                    EncodeUtf8(row.text), kTextShadow, inked);
  s.LineNo = static_cast<std::int16_t>(page.lineNo);
  ComposeAndPresent(game, inked);
  s.PendingText = page.pageFull ? EncodeUtf8(page.rest) : std::string();
  SetMessageSurfacesPersistent(game, false);
}

}  // namespace

void ShowText(Game& game, const std::string& text) {
  ShowLine(game, text, {kWindowLayout, kWindowDimmed, false});
}

void ShowText2(Game& game, const std::string& text) {
  ShowLine(game, text, {kFullScreenLayout, kWholePage, true});
}

}  // namespace pelmot
