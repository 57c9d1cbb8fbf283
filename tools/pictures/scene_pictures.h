// The 135 default scene pictures: 0 the title, 1 ... 114 event pictures,
// 115 ... 134 the day backgrounds (114 + index), of which 115 ... 129 are
// also the greeting pictures of the title.
#pragma once

#include "canvas.h"

namespace pelmot::pictures {

inline constexpr int kScenePictureCount = 135;

Surface DrawScenePicture(int number, Labeller& label);

}  // namespace pelmot::pictures
