#include "scenes/story_structure.h"

#include "scenes/story_builder.h"

namespace pelmot {

const Story& StoryStructure() {
  static const Story structure = [] {
    story::StoryBuilder b;
    story::AddPrologueAndDayScenes(b);
    story::AddEventScenes(b);
    story::AddEndingScenes(b);
    return b.Build();
  }();
  return structure;
}

}  // namespace pelmot
