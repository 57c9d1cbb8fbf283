// The five row filters of PNG image data, undone in place.
#pragma once

#include <cstddef>

namespace pelmot {

// Undoes filter `type` (0 None, 1 Sub, 2 Up, 3 Average, 4 Paeth; the caller
// has checked it) on the `count` bytes of `row`. `prior` is the row above,
// already unfiltered (zeros above the first row); `pixelBytes` is the size
// of a whole pixel, at least 1.
void UnfilterRow(int type, unsigned char* row, const unsigned char* prior, std::size_t count, int pixelBytes);

}  // namespace pelmot
