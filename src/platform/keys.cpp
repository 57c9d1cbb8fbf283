#include "platform/keys.h"

#include <algorithm>
#include <vector>

#include "platform/window.h"

namespace pelmot {
namespace {

// The browser keeps the keys it has no code for here (F5 reloads the page).
constexpr KeyEntry kKeys[] = {
    {kVkEnter, "enter", {"Return", "Keypad Enter"}, {"Enter", "NumpadEnter"}},
    {kVkShift, "", {"Left Shift", "Right Shift"}, {"ShiftLeft", "ShiftRight"}},
    {kVkControl, "", {"Left Ctrl", "Right Ctrl"}, {}},
    {kVkF1, "f1", {"F1"}, {"F1"}},
    {kVkEscape, "escape", {"Escape"}, {"Escape"}},
    {kVkSpace, "space", {"Space"}, {"Space"}},
    {kVkTab, "tab", {"Tab"}, {"Tab"}},
    {kVkUp, "up", {"Up"}, {}},
    {kVkDown, "down", {"Down"}, {}},
    {kVkLeft, "left", {"Left"}, {"ArrowLeft"}},
    {kVkRight, "right", {"Right"}, {"ArrowRight"}},
    {kVkPageUp, "pageup", {"PageUp"}, {}},
    {kVkPageDown, "pagedown", {"PageDown"}, {}},
    {kVkA, "a", {"A"}, {}},
    {kVkF2, "f2", {"F2"}, {}},
    {kVkF5, "f5", {"F5"}, {}},
    {kVkF9, "f9", {"F9"}, {}},
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
