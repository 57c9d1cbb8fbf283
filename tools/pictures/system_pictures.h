// The twelve default system pictures: 0 the dimming mask, 1 ... 10 the
// album pages (2p + 1 the background of page p, 2p + 2 its thumbnail
// sheet), 11 the status sheet with the skip button.
#pragma once

#include <array>
#include <map>

#include "canvas.h"

namespace pelmot::pictures {

inline constexpr int kSystemPictureCount = 12;
inline constexpr int kAlbumPages = 5;
inline constexpr int kAlbumEntries = 44;

// The album's cells: 200 x 150, columns at x 41, 299, 557, rows at y 60,
// 239, 418; page 4 leaves out row 2, column 2.
inline constexpr std::array<int, 3> kCellX{41, 299, 557};
inline constexpr std::array<int, 3> kCellY{60, 239, 418};
inline constexpr int kCellW = 200, kCellH = 150;
inline constexpr int kThumbnailScale = 4;  // 800 x 600 to 200 x 150
// The page buttons (their click regions, bounds exclusive, are one pixel
// wider on every side): previous, leave, next.
inline constexpr std::array<Rect, 3> kPageButtons{{{315, 8, 38, 38}, {382, 8, 38, 38}, {449, 8, 38, 38}}};

// The first picture each album entry shows; its thumbnail is made from it.
int AlbumEntryFirstPicture(int entry);

Surface DrawDimmingMask();
Surface DrawAlbumBackground(int page, Labeller& label);
// The thumbnails (200 x 150) by picture number; each entry's first picture
// must be there.
Surface DrawAlbumSheet(int page, const std::map<int, Surface>& thumbnails);
Surface DrawStatusSheet(Labeller& label);

}  // namespace pelmot::pictures
