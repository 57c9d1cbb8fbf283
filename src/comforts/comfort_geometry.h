// Where the comforts draw: the history of lines, the corner marks, the
// settings screen, the file select's preview, the album's key frame and the
// corner line. Built on the
// game's own layout, so they line up with its rows.
#pragma once

#include "game/screen_geometry.h"

namespace pelmot {

// The history of lines: full-screen rows over the dimmed picture, newest at
// the bottom; a page break is a line across the middle of a row of its own.
inline constexpr int kBacklogRows = kScreenHeight / kRowPitch;
inline constexpr int kBacklogTextTop = kPageRowsTop + kPageTextInset;
inline constexpr int kBacklogTextLeft = kOptionLeft;
inline constexpr int kBacklogBreakInset = 40;                   // the break line stops this far from either edge
inline constexpr int kBacklogBreakDrop = 10;                    // below the row's text top
inline constexpr int kBacklogFrameLeft = kBacklogTextLeft - 8;  // the framed entry's outline, the same either side

// The route chart: its title on the history's first row, then a list of
// rows that scrolls; a reached choice's options are indented and framed.
inline constexpr int kChartTextLeft = kBacklogTextLeft;
inline constexpr int kChartIndent = 32;
inline constexpr int kChartFrameSide = 8;
inline constexpr int kChartTitleTextTop = kBacklogTextTop;
inline constexpr int kChartListRows = kBacklogRows - 1;
constexpr int ChartRowTextTop(int slot) { return kBacklogTextTop + kRowPitch * (1 + slot); }

// The corner where a comfort shows it is on (turning pages on its own):
// its text right-aligned this far from the edge.
inline constexpr ScreenRect kComfortMarkArea{kScreenWidth - 120, 0, 120, kRowPitch};
inline constexpr int kComfortMarkMargin = 8;

// The settings screen: a centred title on row 0, then one centred row per
// setting in the slots from row 2 on, as many as there is room for; a press
// anywhere across a slot's band picks its row. When the list is longer, a
// mark in the slot above the first (-1) and in the one below the last
// tells that more rows wait that way.
inline constexpr int kSettingsFirstRow = 2;
inline constexpr int kSettingsRoom = 12;
inline constexpr int kSettingsMoreAboveSlot = -1;
inline constexpr int kSettingsFrameSide = 6;  // the frame's margin either side of the text
constexpr int SettingsRowTextTop(int slot) { return kMenuTextTop + kRowPitch * (kSettingsFirstRow + slot); }
constexpr int SettingsRowAt(int y) { return FloorDiv(y - kMenuRowsTop, kRowPitch) - kSettingsFirstRow; }
static_assert(SettingsRowTextTop(kSettingsRoom) + kRowPitch <= kScreenHeight, "the list fits the screen");
// The file select's preview: the framed slot's day and the first words of
// its line, centred on two rows a row below the list (its title and eleven
// items take rows 0 ... 11), the line cut to the width of the page's text.
inline constexpr int kSavePreviewFirstRow = 13;
inline constexpr int kSavePreviewLineWidth = 720;
constexpr int SavePreviewTextTop(int row) { return kMenuTextTop + kRowPitch * (kSavePreviewFirstRow + row); }
// The frame the arrow keys move over the album page: rings of one pixel,
// the first this far outside the cell or button, dark at both edges.
inline constexpr int kAlbumKeyFrameGap = 1;
inline constexpr int kAlbumKeyFrameRings = 4;
inline constexpr Colour kAlbumKeyFrameColour = Rgb(240, 240, 240);

// The corner line (what a quick save or load did): its box at the top left,
// the text inset by the padding.
inline constexpr Point kCornerLineOrigin{8, 8};
inline constexpr int kCornerLinePadding = 6;

}  // namespace pelmot
