// The album's 44 entries: which seen pictures light a thumbnail, and which
// run of pictures the viewer shows.
#pragma once

#include <array>

#include "game/screen_geometry.h"

namespace pelmot {

struct AlbumEntry {
  int thumbFirst;  // the thumbnail is lit when any of thumbFirst ... thumbLast is seen
  int thumbLast;
  int viewFirst;  // the viewer shows viewFirst ... viewFirst + viewCount - 1
  int viewCount;
};

inline constexpr int kAlbumEntries = 44;

// Entries 0 and 22 show one picture more than lights their thumbnail.
inline constexpr std::array<AlbumEntry, kAlbumEntries> kAlbum = {{
    {19, 19, 19, 2},    {22, 22, 22, 1},    {23, 23, 23, 1},    {24, 25, 24, 2},    {26, 26, 26, 1},
    {27, 27, 27, 1},    {28, 28, 28, 1},    {29, 29, 29, 1},    {30, 32, 30, 3},    {33, 33, 33, 1},
    {34, 34, 34, 1},    {35, 35, 35, 1},    {36, 36, 36, 1},    {37, 38, 37, 2},    {39, 42, 39, 4},
    {43, 43, 43, 1},    {44, 44, 44, 1},    {45, 45, 45, 1},    {46, 47, 46, 2},    {48, 50, 48, 3},
    {51, 53, 51, 3},    {54, 56, 54, 3},    {57, 65, 57, 10},   {67, 72, 67, 6},    {73, 76, 73, 4},
    {77, 84, 77, 8},    {85, 88, 85, 4},    {89, 92, 89, 4},    {93, 94, 93, 2},    {95, 95, 95, 1},
    {96, 97, 96, 2},    {98, 99, 98, 2},    {100, 100, 100, 1}, {101, 101, 101, 1}, {102, 102, 102, 1},
    {103, 105, 103, 3}, {106, 106, 106, 1}, {107, 107, 107, 1}, {108, 108, 108, 1}, {109, 109, 109, 1},
    {110, 110, 110, 1}, {111, 111, 111, 1}, {112, 112, 112, 1}, {113, 113, 113, 1},
}};

// Pages 0 ... kAlbumLastPage of kAlbumCells entries each; the last page
// has eight.
inline constexpr int kAlbumLastPage = (kAlbumEntries - 1) / kAlbumCells;

// Slideshow positions: 0 ... 94 show picture position + 19 (position 2,
// picture 21, is passed over), 95 the completion line, 96 leaves.
inline constexpr int kSlideFirstPicture = 19;
inline constexpr int kSlideSkipped = 2;
inline constexpr int kSlideCompletion = 95;
inline constexpr int kSlideLeave = 96;
inline constexpr int kGalleryPictures = 93;

}  // namespace pelmot
