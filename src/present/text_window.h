// The text window: one scenario line laid out in rows over the picture.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pelmot {

class Game;

// `id` names the text for its translations ("" for none: shown as it is).
// Message window across the bottom of the screen.
void ShowText(Game& game, const std::string& text, std::string_view id = {});
// Text over the whole screen.
void ShowText2(Game& game, const std::string& text, std::string_view id = {});

// The rows page `page` of `text` shows (from 0), laid out as the text window
// lays a line out in the shown language, its first page from row `firstRow`.
std::vector<std::string> LineRowsOfPage(Game& game, const std::string& text, bool inWindow, int page, int firstRow);
// What of `text` waits after its first `pages` pages, laid out the same way
// (as PendingText holds it; empty when the line ends sooner).
std::string LineRestAfterPages(Game& game, const std::string& text, bool inWindow, int pages, int firstRow);

}  // namespace pelmot
