// Every key the game takes, in one table: the virtual key the game sees,
// the name a headless script presses it by, and the names the desktop
// window (SDL's key names) and the browser (KeyboardEvent.code) give it.
// A new key is one row here and a taker that acts on it.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pelmot {

struct KeyEntry {
  int key;                                  // a VirtualKey (platform/window.h)
  std::string_view script;                  // `key NAME`; empty: not pressed by name
  std::array<std::string_view, 2> desktop;  // SDL's names of the key
  std::array<std::string_view, 2> browser;  // the browser's codes, or an alias it alone has
};

std::span<const KeyEntry> Keys();

// The VirtualKey for a name; 0 for a key the game does not take.
int KeyForDesktopName(std::string_view name);
int KeyForBrowserCode(std::string_view code);
std::optional<int> KeyForScriptName(std::string_view name);
// The names a script may press, in alphabetical order, comma-separated.
std::string ScriptKeyNames();

}  // namespace pelmot
