// The status display of a day scene: pieces cut from the status sheet
// (system picture 11) and painted over the background. The sheet's layout
// is shared with the picture generator, which draws the sheet.
#pragma once

#include <array>
#include <optional>

#include "game/game_state.h"
#include "platform/surface.h"

namespace pelmot {

struct SheetRect {
  int x, y, w, h;
};
struct SheetPoint {
  int x, y;
};

namespace status_sheet {

// Day tiles: 157 x 89, six to a column; tile d (DayNo - 2) at column d / 6,
// row d % 6.
inline constexpr int kTileW = 157, kTileH = 89, kTilesPerColumn = 6;
inline constexpr SheetPoint kTileAt{10, 10};
// The panel is painted at the place it has on the sheet.
inline constexpr SheetRect kPanel{562, 11, 226, 212};
// Condition strips: 120 x 38, one under the other from y 221.
inline constexpr SheetRect kConditionStrip0{656, 221, 120, 38};
inline constexpr SheetPoint kConditionAt{656, 140};
// Bars of Params[0 ... 2]: 120 x 40 on the sheet, cut to the value's width.
inline constexpr std::array<SheetPoint, 3> kBarSource{{{314, 178}, {314, 218}, {314, 258}}};
inline constexpr std::array<SheetPoint, 3> kBarAt{{{656, 16}, {656, 56}, {656, 96}}};
inline constexpr int kBarMaxW = 120, kBarH = 40;
// Day strips: 70 x 33 at x 480; the source row by DayNo 2 ... 15.
inline constexpr int kStripX = 480, kStripW = 70, kStripH = 33;
inline constexpr std::array<int, 14> kStripSourceY{246, 205, 533, 0, 328, 164, 369, 287, 82, 410, 492, 41, 123, 451};
inline constexpr SheetPoint kStripAt{676, 183};
// The skip button's picture.
inline constexpr SheetRect kSkipButton{565, 225, 20, 180};

}  // namespace status_sheet

// Width of a parameter's bar: none for 0, steps of 5 up to 119, full at 120.
int BarWidth(int value);

// Where the day tile of DayNo lies on the sheet; nothing before the first
// day (DayNo below 2), where there is no day to show.
std::optional<SheetPoint> DayTileSource(int dayNo);

// The sheet row of DayNo's day strip; nothing outside DayNo 2 ... 15.
std::optional<int> DayStripSourceY(int dayNo);

// The background index a day scene shows: index 0 is chosen by Condition
// (a Condition outside 0 ... 7 keeps 0).
int BackgroundIndex(int index, int condition);

// Paints the day tile, panel, condition strip, bars and day strip over
// `target` from `sheet`, in that order.
void PaintStatusDisplay(Surface& target, const Surface& sheet, const SaveRecord& values);

}  // namespace pelmot
