// What the text window and the choices share: drawing a shadowed row into
// the text layers, and composing and presenting the page.
#pragma once

#include <string_view>

#include "present/page_raster.h"

namespace pelmot {

class Game;

inline constexpr Colour kTextFace = Rgb(240, 240, 240);
inline constexpr Colour kTextShadow = Rgb(64, 64, 64);
inline constexpr Colour kOptionShadow = Rgb(80, 80, 80);

// Msg draws into its kept image (on) or directly (off).
void SetMessageSurfacesPersistent(Game& game, bool on);

// Before a fresh page: a page still owed and never looked at is given up,
// its work left for the fresh page to do (see ComposeFreshPageAndPresent).
void ForgoUnseenPage(Game& game);

// Before MainWork takes a new picture, which will draw every pixel of it:
// a page still owed keeps the picture it is made from, and MainWork gets
// pixels to draw over instead of waiting for that page to be painted.
void KeepPictureForOwedPage(Game& game);

// Takes all ink off MsgInk.
void ClearTextLayers(Game& game);

// The row at text position x, y with its shadow at x + 2, y + 2, inked in
// MsgInk: the shadow colour, and the face over it. `inked` grows to cover
// the rows the drawing may have touched; nothing is inked outside them.
void DrawShadowedRow(Game& game, int x, int y, std::string_view utf8, Colour shadow, RowBand& inked);

// MsgInk composed into Msg (only over the rows of `inked`; the layers are
// blank elsewhere), then Msg into MainPic's kept image and MainPic
// refreshed.
void ComposeAndPresent(Game& game, RowBand inked);

// A fresh page with its text drawn in the layers: MainWork copied into Msg
// and dimmed over `dimmed` by the mask SysPic[kDimmingMask], then composed and
// presented as above, all in one pass over the page. Msg and MainPic
// take their new pixels when first used; until then, MainWork, the mask and
// MsgInk stay as they are or the page is painted before they change.
void ComposeFreshPageAndPresent(Game& game, const DimmedArea& dimmed, RowBand inked);

}  // namespace pelmot
