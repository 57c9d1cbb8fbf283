// The playable story: the compiled structure with the scenario's words,
// pictures and backgrounds put into its line and choice steps.
#pragma once

#include "scenes/content.h"
#include "scenes/scene_model.h"

namespace pelmot {

// Line steps get their picture and background before the line (or the
// picture after it, where the structure says so); choices get their options.
// What the content lacks stays empty.
Story ComposeStory(const Story& structure, const Content& content);

}  // namespace pelmot
