// The page around the canvas: what the program tells it, and the functions
// its script calls (listed for the linker in web.cmake).
#pragma once

// A function the page's script calls by name.
#define PELMOT_WEB_EXPORT extern "C" __attribute__((used, visibility("default")))

namespace pelmot {

// Tells the page how the game stands: "playing", "ended" or "stopped"
// (web_page.js shows the words for it under the canvas).
void TellPage(const char* phase);

}  // namespace pelmot
