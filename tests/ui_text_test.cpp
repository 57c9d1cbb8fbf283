// The table of the interface's words: names fit to be translation keys, and
// placeholders that the formatting fills.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/ui_text.h"

namespace pelmot {
namespace {

bool IsLowerSnake(std::string_view name) {
  if (name.empty() || name.front() < 'a' || name.front() > 'z' || name.back() == '_') return false;
  for (char c : name)
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_')) return false;
  return true;
}

// The digits of the text's placeholders, "{0}" ... "{9}".
std::set<int> Placeholders(std::string_view text) {
  std::set<int> found;
  for (std::size_t i = 0; i + 2 < text.size(); ++i)
    if (text[i] == '{' && text[i + 1] >= '0' && text[i + 1] <= '9' && text[i + 2] == '}')
      found.insert(text[i + 1] - '0');
  return found;
}

TEST(UiTextTable, EachNameIsAUniqueKeyAndEachPlaceholderIsFilled) {
  std::set<std::string_view> names;
  for (const UiTextEntry& entry : UiTexts()) {
    SCOPED_TRACE(std::string(entry.name));
    EXPECT_TRUE(IsLowerSnake(entry.name));
    EXPECT_TRUE(names.insert(entry.name).second) << "the name is taken twice";
    EXPECT_FALSE(entry.text.empty());
    EXPECT_EQ(Ui(entry.id), entry.text);
    // Placeholders count from {0} without a gap, and formatting with as many
    // values leaves none of them behind.
    const std::set<int> digits = Placeholders(entry.text);
    if (!digits.empty()) {
      EXPECT_EQ(*digits.rbegin() + 1, static_cast<int>(digits.size()));
    }
    const std::string filled =
        UiFormat(entry.id, {"<a>", "<b>", "<c>", "<d>", "<e>", "<f>", "<g>", "<h>", "<i>", "<j>"});
    EXPECT_TRUE(Placeholders(filled).empty()) << filled;
  }
}

TEST(UiFormat, FillsEachPlaceholderOnceAndKeepsWhatAValueHolds) {
  // A value is never read for placeholders of its own: a path may hold "{1}".
  EXPECT_EQ(UiFormat(UiText::cg_completion, {"{1}", "136"}), "ＣＧ達成率{1}／136");
  // A value missing leaves its placeholder to be seen.
  EXPECT_EQ(UiFormat(UiText::cg_completion, {"5"}), "ＣＧ達成率5／{1}");
  EXPECT_EQ(UiFormat(UiText::file_slot, {"１"}), "データ１");
}

}  // namespace
}  // namespace pelmot
