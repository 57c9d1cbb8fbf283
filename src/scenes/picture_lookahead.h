// Look-ahead for the picture loader: which pictures the next steps of the
// story can show, so they can be decoded before the click that needs them.
#pragma once

#include <vector>

#include "scenes/scene_model.h"

namespace pelmot {

class Game;

// How many pictures ahead each way of the story is followed.
inline constexpr int kPicturesAhead = 1;

// The pictures (by number, nearest first, each once) that the steps after
// `step` of `scene` can show, following the lane that Condition and
// LastChoice select, jumps and scene changes, and every pick where a step
// is a choice (from `step` itself too): up to `perWay` along each way.
std::vector<int> UpcomingPictures(const Story& story, const SceneScript& scene, int step, int condition, int lastChoice,
                                  int perWay = kPicturesAhead);

// Hints the picture loader with the pictures that can follow the current
// step of scene play.
void HintUpcomingPictures(Game& game);

}  // namespace pelmot
