// Look-ahead for the picture loader: which pictures the next steps of the
// story can show, so they can be decoded before the click that needs them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "scenes/scene_model.h"

namespace pelmot {

class Game;

// How many pictures ahead each way of the story is followed, and how many
// are hinted in all: the picture loader keeps three, the picture on screen
// among them. Two ahead on a straight way give the loader a picture's time
// to read the next before it is needed; where ways part, the nearest on
// each comes first.
inline constexpr int kPicturesAhead = 2;
inline constexpr std::size_t kPicturesHinted = 2;

// The pictures (by number, each once, nearest first: by how many pictures
// come before each on its way) that the steps after `step` of `scene` can
// show, following the lane that Condition and LastChoice select, jumps and
// scene changes, and every pick where a step is a choice (from `step`
// itself too): up to `perWay` along each way, `most` in all.
std::vector<int> UpcomingPictures(const Story& story, const SceneScript& scene, int step, int condition, int lastChoice,
                                  int perWay = kPicturesAhead, std::size_t most = SIZE_MAX);

// Hints the picture loader with the pictures that can follow the current
// step of scene play.
void HintUpcomingPictures(Game& game);

}  // namespace pelmot
