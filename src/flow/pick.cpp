#include "flow/pick.h"

#include "flow/mode_units.h"

namespace pelmot {

void PickAt(Game& game, int x, int y) { CurrentMode(game).Pick(game, x, y); }

std::optional<Point> PickPoint(const Game& game, int row) { return CurrentMode(game).PickPoint(game, row); }

}  // namespace pelmot
