// The album page's regions, as a left press on it finds them.
#pragma once

namespace pelmot {

enum class AlbumRegion { None, Previous, Leave, Next, Cell };
struct AlbumHit {
  AlbumRegion region = AlbumRegion::None;
  int cell = 0;  // 3 * row + column, for AlbumRegion::Cell
};
AlbumHit HitTestAlbum(int x, int y);

}  // namespace pelmot
