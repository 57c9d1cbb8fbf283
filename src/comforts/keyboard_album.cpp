#include "comforts/keyboard_album.h"

#include "comforts/comfort_geometry.h"
#include "gallery/album_table.h"
#include "game/game.h"
#include "platform/window.h"

namespace pelmot {
namespace {

constexpr int kFirstButton = kAlbumCells;  // previous, leave, next follow the cells
constexpr int kPlaceCount = kAlbumCells + kAlbumColumns;
constexpr ScreenRect kButtons[kAlbumColumns] = {kAlbumPrevious, kAlbumLeave, kAlbumNext};

bool IsButton(int place) { return place >= kFirstButton; }

ScreenRect PlaceRect(int place) { return IsButton(place) ? kButtons[place - kFirstButton] : AlbumCell(place); }

// The last page has one cell fewer than it has room for.
bool PlaceExists(int page, int place) {
  if (place < 0 || place >= kPlaceCount) return false;
  return IsButton(place) || kAlbumCells * page + place < kAlbumEntries;
}

int Arrow(int place, int key) {
  if (IsButton(place)) {
    const int button = place - kFirstButton;
    if (key == kVkLeft && button > 0) return place - 1;
    if (key == kVkRight && button < kAlbumColumns - 1) return place + 1;
    if (key == kVkDown) return button;  // the cell below it in the top row
    return place;
  }
  const int column = place % kAlbumColumns, row = place / kAlbumColumns;
  const int rows = kAlbumCells / kAlbumColumns;
  if (key == kVkLeft && column > 0) return place - 1;
  if (key == kVkRight && column < kAlbumColumns - 1) return place + 1;
  if (key == kVkUp) return row > 0 ? place - kAlbumColumns : kFirstButton + column;
  if (key == kVkDown && row < rows - 1) return place + kAlbumColumns;
  return place;
}

void Rectangle(Surface& pic, const ScreenRect& r, Colour colour) {
  const int right = r.Right() - 1, bottom = r.Bottom() - 1;
  pic.Line(r.left, r.top, right, r.top, colour);
  pic.Line(right, r.top, right, bottom, colour);
  pic.Line(right, bottom, r.left, bottom, colour);
  pic.Line(r.left, bottom, r.left, r.top, colour);
}

ScreenRect Grown(const ScreenRect& r, int by) { return {r.left - by, r.top - by, r.width + 2 * by, r.height + 2 * by}; }

}  // namespace

int AlbumPlaceAfterKey(int page, int from, int key) {
  if (!PlaceExists(page, from)) return 0;
  if (key == kVkTab) {
    int next = from;
    do next = (next + 1) % kPlaceCount;
    while (!PlaceExists(page, next));
    return next;
  }
  const int to = Arrow(from, key);
  return PlaceExists(page, to) ? to : from;
}

Point AlbumPlaceMiddle(int place) {
  const ScreenRect r = PlaceRect(place);
  return {r.left + (r.width - 1) / 2, r.top + (r.height - 1) / 2};
}

// A light frame with dark lines either side shows on light and dark
// pictures alike.
void FrameAlbumPlace(Game& game, int place) {
  Surface& pic = game.form.MainPic;
  pic.SetPersistent(true);
  pic.BitBlt(0, 0, kScreenWidth, kScreenHeight, game.form.MainWork, 0, 0, Rop::SrcCopy);
  const ScreenRect r = PlaceRect(place);
  for (int ring = 0; ring < kAlbumKeyFrameRings; ++ring) {
    const bool edge = ring == 0 || ring == kAlbumKeyFrameRings - 1;
    Rectangle(pic, Grown(r, kAlbumKeyFrameGap + ring), edge ? kBlack : kAlbumKeyFrameColour);
  }
  pic.SetPersistent(false);
}

}  // namespace pelmot
