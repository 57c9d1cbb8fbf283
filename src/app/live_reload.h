// An author's edits while the game runs: the scenario read again and put in
// place of the one playing, at the same scene, lane, step and page with the
// same values, and the line on screen drawn again with its new words; a
// picture changed on screen decoded again and drawn. A scenario with
// problems leaves the old one playing and shows its first problem in the
// author's strip (comforts/content_problem.h) until it is mended.
#pragma once

#include "platform/content_watch.h"

namespace pelmot {

class GameHost;

// The content folder's folders an author's watch looks at ("" itself).
std::vector<std::string> WatchedContentFolders();

// Applies `changes` (files within the content folder); true when the
// screen may have changed.
bool ReloadContent(GameHost& host, const ContentChanges& changes);

}  // namespace pelmot
