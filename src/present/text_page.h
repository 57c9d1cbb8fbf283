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

// Msg, MsgWk and MsgMk draw into their kept images (on) or directly (off).
void SetMessageSurfacesPersistent(Game& game, bool on);

// Clears MsgWk to black and MsgMk to white.
void ClearTextLayers(Game& game);

// The row at text position x, y with its shadow at x + 2, y + 2: black in
// MsgMk at both positions, the shadow colour and then the face in MsgWk.
// `inked` grows to cover the rows the drawing may have touched.
void DrawShadowedRow(Game& game, int x, int y, std::string_view utf8, Colour shadow, RowBand& inked);

// MsgMk into Msg with SRCAND, then MsgWk with SRCINVERT (only over the rows
// of `inked`; the layers are blank elsewhere), then Msg into MainPic's kept
// image and MainPic refreshed.
void ComposeAndPresent(Game& game, RowBand inked);

// A fresh page with its text drawn in the layers: MainWork copied into Msg
// and dimmed over `dimmed` by the mask SysPic[kDimmingMask], then composed and
// presented as above, all in one pass over the page.
void ComposeFreshPageAndPresent(Game& game, const DimmedArea& dimmed, RowBand inked);

}  // namespace pelmot
