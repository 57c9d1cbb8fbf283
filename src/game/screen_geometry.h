// The numbers the screen's layout is made of, shared by drawing and
// hit-testing alike.
#pragma once

namespace pelmot {

// Integer division cut toward minus infinity, as the row formulas need.
constexpr int FloorDiv(int a, int b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

}  // namespace pelmot
