#include "platform/keys.h"

#include <algorithm>
#include <vector>

#include "platform/window.h"

namespace pelmot {
namespace {

// Every key works in the browser too. The page keeps the browser's own use
// of these keys away from them (F5 would reload, F3 find, Home scroll), but
// a quick save that reloads the page whenever it misses the key (the address
// bar focused, the page still loading) would lose the play it meant to keep:
// there S saves as well. Ctrl's browser shortcuts (Ctrl+W, Ctrl+Tab) stay
// the browser's; Shift skips as Ctrl does.
constexpr KeyEntry kKeys[] = {
    {kVkEnter, "enter", {"Return", "Keypad Enter"}, {"Enter", "NumpadEnter"}},
    {kVkShift, "", {"Left Shift", "Right Shift"}, {"ShiftLeft", "ShiftRight"}},
    {kVkControl, "", {"Left Ctrl", "Right Ctrl"}, {"ControlLeft", "ControlRight"}},
    {kVkF1, "f1", {"F1"}, {"F1"}},
    {kVkEscape, "escape", {"Escape"}, {"Escape"}},
    {kVkSpace, "space", {"Space"}, {"Space"}},
    {kVkTab, "tab", {"Tab"}, {"Tab"}},
    {kVkUp, "up", {"Up"}, {"ArrowUp"}},
    {kVkDown, "down", {"Down"}, {"ArrowDown"}},
    {kVkLeft, "left", {"Left"}, {"ArrowLeft"}},
    {kVkRight, "right", {"Right"}, {"ArrowRight"}},
    {kVkPageUp, "pageup", {"PageUp"}, {"PageUp"}},
    {kVkPageDown, "pagedown", {"PageDown"}, {"PageDown"}},
    {kVkHome, "home", {"Home"}, {"Home"}},
    {kVkEnd, "end", {"End"}, {"End"}},
    {kVkA, "a", {"A"}, {"KeyA"}},
    {kVkV, "v", {"V"}, {"KeyV"}},
    {kVkC, "c", {"C"}, {"KeyC"}},
    {kVkF2, "f2", {"F2"}, {"F2"}},
    {kVkF3, "f3", {"F3"}, {"F3"}},
    {kVkF5, "f5", {"F5"}, {"F5", "KeyS"}},
    {kVkF9, "f9", {"F9"}, {"F9"}},
    {kVkF12, "f12", {"F12"}, {}},  // --author's; the browser keeps F12 for itself
};

template <typename Names>
int Find(std::string_view name, Names KeyEntry::*names) {
  if (name.empty()) return 0;
  for (const KeyEntry& entry : kKeys) {
    const auto& list = entry.*names;
    if (std::find(list.begin(), list.end(), name) != list.end()) return entry.key;
  }
  return 0;
}

}  // namespace

std::span<const KeyEntry> Keys() { return kKeys; }

int KeyForDesktopName(std::string_view name) { return Find(name, &KeyEntry::desktop); }

int KeyForBrowserCode(std::string_view code) { return Find(code, &KeyEntry::browser); }

std::optional<int> KeyForScriptName(std::string_view name) {
  for (const KeyEntry& entry : kKeys)
    if (!entry.script.empty() && entry.script == name) return entry.key;
  return std::nullopt;
}

std::string ScriptKeyNames() {
  std::vector<std::string_view> sorted;
  for (const KeyEntry& entry : kKeys)
    if (!entry.script.empty()) sorted.push_back(entry.script);
  std::sort(sorted.begin(), sorted.end());
  std::string names;
  for (std::string_view name : sorted) names += (names.empty() ? "" : ", ") + std::string(name);
  return names;
}

}  // namespace pelmot
