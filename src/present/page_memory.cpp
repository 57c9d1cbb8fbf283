#include "present/page_memory.h"

#include "game/game.h"

namespace pelmot {

bool PageFact::HoldsFor(const Surface& pageSurface, const Surface& pictureSurface, const Surface& maskSurface,
                        const DimmedArea& dimmed) const {
  return page != 0 && pageSurface.Revision() == page && pictureSurface.Revision() == picture &&
         maskSurface.Revision() == mask && area.x == dimmed.x && area.y == dimmed.y && area.w == dimmed.w &&
         area.h == dimmed.h && area.maskX == dimmed.maskX && area.maskY == dimmed.maskY;
}

TextPageFacts& KnownTextPage(Game& game) {
  // A cache and nothing more: every fact is checked against the surfaces'
  // revisions before it is used.
  return game.parts.Get<TextPageFacts>();
}

}  // namespace pelmot
