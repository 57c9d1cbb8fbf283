// The numbers the screen's layout is made of, shared by drawing and
// hit-testing alike. Several frames sit a pixel or two off their text: the
// offsets below keep them exactly where the game has always drawn them.
#pragma once

#include "platform/surface.h"

namespace pelmot {

// Integer division cut toward minus infinity, as the row formulas need.
constexpr int FloorDiv(int a, int b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

struct Point {
  int x;
  int y;
};

// A rectangle of the client area; it holds left ... left + width - 1.
struct ScreenRect {
  int left;
  int top;
  int width;
  int height;
  constexpr int Right() const { return left + width; }
  constexpr int Bottom() const { return top + height; }
  constexpr bool Contains(int x, int y) const { return x >= left && x < Right() && y >= top && y < Bottom(); }
};

inline constexpr ScreenRect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};

// Text rows, menus and choices alike, are this far apart.
inline constexpr int kRowPitch = 32;

// Left edge of a row `width` wide centred on the screen.
constexpr int CentredLeft(int width) { return FloorDiv(kScreenWidth - width, 2); }

// The message window across the bottom of the screen: the area the text
// window dims, and below which no press or frame reaches.
inline constexpr ScreenRect kMessageWindow{20, 410, 760, 180};
// Row 0 of a choice in the message window starts here; its text 8 lower.
inline constexpr int kWindowRowsTop = 416;
inline constexpr int kWindowTextInset = 8;
// On the full-screen page row 0 starts at the top; its text 4 lower.
inline constexpr int kPageRowsTop = 0;
inline constexpr int kPageTextInset = 4;
// Centred menus: row 0's band for presses starts at 12, its text at 20.
inline constexpr int kMenuRowsTop = 12;
inline constexpr int kMenuTextTop = 20;

// Left-aligned options (scene choices): the text starts at kOptionLeft, and
// the pointer counts over it strictly within kOptionSlack of either end.
inline constexpr int kOptionLeft = 20;
inline constexpr int kOptionSlack = 4;
constexpr bool OverOptionText(int width, int x) {
  return x > kOptionLeft - kOptionSlack && x < kOptionLeft + width + kOptionSlack;
}

// The frame around a hovered row runs from 4 above its text's top to 4
// above the next row's.
inline constexpr int kFrameAboveText = 4;
inline constexpr int kFrameBelowText = kRowPitch - kFrameAboveText;
// An option's frame: 6 left of the text, 4 right of it.
inline constexpr int kOptionFrameLeft = kOptionLeft - 6;
inline constexpr int kOptionFrameRightMargin = 4;
// A centred row's frame: its left edge is the middle of (screen width - 2 -
// text width) rounded, its right edge 2 past the mirror of the text's left
// edge; the top line reaches one pixel further left than the left edge and
// as far right as the right edge, the bottom line 2 short of it.
inline constexpr int kCentredFrameLeftInset = 2;
inline constexpr int kCentredFrameRightMargin = 2;

// The skip button: it shows while the pointer is strictly inside the strip
// left of it ... below its top and above its bottom, over the window.
inline constexpr ScreenRect kSkipStrip{780, 410, 20, 180};
constexpr bool InSkipStrip(int x, int y) {
  return x > kSkipStrip.left && y > kSkipStrip.top && y < kSkipStrip.Bottom();
}

// The album page: three buttons above a 3 x 3 grid of thumbnail cells.
inline constexpr int kAlbumColumns = 3;
inline constexpr int kAlbumCells = 9;
inline constexpr int kAlbumCellWidth = 200;
inline constexpr int kAlbumCellHeight = 150;
inline constexpr int kAlbumCellLeft[kAlbumColumns] = {41, 299, 557};
inline constexpr int kAlbumCellTop[kAlbumColumns] = {60, 239, 418};
inline constexpr ScreenRect kAlbumPrevious{315, 8, 38, 38};
inline constexpr ScreenRect kAlbumLeave{382, 8, 38, 38};
inline constexpr ScreenRect kAlbumNext{449, 8, 38, 38};

constexpr ScreenRect AlbumCell(int cell) {
  return {kAlbumCellLeft[cell % kAlbumColumns], kAlbumCellTop[cell / kAlbumColumns], kAlbumCellWidth, kAlbumCellHeight};
}
// The point a headless pick presses for a cell: its middle, rounded up-left.
constexpr Point AlbumCellMiddle(int cell) {
  const ScreenRect r = AlbumCell(cell);
  return {r.left + (r.width - 1) / 2, r.top + (r.height - 1) / 2};
}

}  // namespace pelmot
