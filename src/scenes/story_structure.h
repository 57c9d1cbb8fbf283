// The story's structure, compiled in: the 95 scenes with their lanes, step
// numbers, choices, value changes and successors. Line steps and choices
// leave their words to the scenario (content.h); so do the pictures and
// backgrounds of line steps.
#pragma once

#include "scenes/scene_model.h"

namespace pelmot {

const Story& StoryStructure();

namespace story {
class StoryBuilder;
// The scenes by family, one file each.
void AddPrologueAndDayScenes(StoryBuilder& b);
void AddEventScenes(StoryBuilder& b);
void AddEndingScenes(StoryBuilder& b);
}  // namespace story

}  // namespace pelmot
