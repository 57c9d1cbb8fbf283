// What the text page's surfaces are known to hold since this module last
// drew them, so that the next page rewrites only the rows that change
// instead of whole 800 x 600 surfaces at every click.
//
// Each fact names the surfaces by their revision numbers at the time it
// was noted. Any change to a surface since, by any code, gives it a new
// number; the fact then no longer holds and the full work is done. The
// numbers are unique in the process, so the facts of two games never mix.
#pragma once

#include <cstdint>

#include "present/page_raster.h"

namespace pelmot {

class Game;

// The page is the picture dimmed over `area` by the mask, except the rows
// of `text`.
struct PageFact {
  std::uint64_t page = 0, picture = 0, mask = 0;  // 0: nothing known
  DimmedArea area{};
  RowBand text;

  bool HoldsFor(const Surface& page, const Surface& picture, const Surface& mask, const DimmedArea& dimmed) const;
  void Forget() { page = 0; }
};

// The kept image of the shown surface is a copy of the whole page.
struct ShownFact {
  std::uint64_t shown = 0, page = 0;  // 0: nothing known

  bool HoldsFor(const Surface& shownSurface, const Surface& pageSurface) const {
    return shown != 0 && shownSurface.Revision() == shown && pageSurface.Revision() == page;
  }
};

struct TextPageFacts {
  PageFact page;    // Msg
  ShownFact shown;  // MainPic
};

// The facts the presentation code noted for this game; a part of the game
// (game.parts), made on first use.
TextPageFacts& KnownTextPage(Game& game);

}  // namespace pelmot
