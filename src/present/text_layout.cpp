#include "present/text_layout.h"

#include <algorithm>
#include <array>

#include "platform/utf8.h"

namespace pelmot {
namespace {

// Exactly these nineteen characters must not begin a row.
constexpr std::array<char32_t, 19> kLineStartProhibited = {U'。', U'、', U'｡',  U'､',  U'・', U'･',  U'っ',
                                                           U'ゃ', U'ゅ', U'ょ', U'ぁ', U'ぃ', U'ぅ', U'ぇ',
                                                           U'ぉ', U'！', U'？', U'」', U'）'};

// A character past the end compares as nothing.
char32_t At(std::u32string_view text, std::size_t pos) { return pos < text.size() ? text[pos] : 0; }

bool IsBreakMark(std::u32string_view text, std::size_t pos) {
  return At(text, pos) == U'@' && (At(text, pos + 1) == U'r' || At(text, pos + 1) == U'R');
}

// After a row has ended before `pos`: a prohibited character joins the row,
// unless the one after it is prohibited too; then both begin the next row.
std::size_t ApplyLineStartRule(std::u32string_view text, std::size_t pos) {
  if (!IsLineStartProhibited(At(text, pos))) return pos;
  ++pos;
  if (IsLineStartProhibited(At(text, pos))) --pos;
  return pos;
}

// Kana, kanji and the full-width forms: a row may break on either side of
// one even without a space.
bool BreaksAnywhere(char32_t c) { return IsFullWidth(c) || (c >= 0xFF61 && c <= 0xFF9F); }

// Whether a row may end before `pos` (and after pos - 1) between words.
bool IsWordBreak(std::u32string_view text, std::size_t pos) {
  if (pos >= text.size() || IsBreakMark(text, pos)) return true;
  const char32_t before = text[pos - 1], after = text[pos];
  return before == U' ' || after == U' ' || BreaksAnywhere(before) || BreaksAnywhere(after);
}

std::size_t SkipSpaces(std::u32string_view text, std::size_t pos) {
  while (pos < text.size() && text[pos] == U' ') ++pos;
  return pos;
}

std::size_t TrimSpaces(std::u32string_view text, std::size_t start, std::size_t end) {
  while (end > start && text[end - 1] == U' ') --end;
  return end;
}

// Where a row from `start` that overflowed with the character before `pos`
// ends between words: the last break after `start` up to `pos` that leaves
// more than spaces on the row, or `pos` itself when one word fills the row.
std::size_t LastWordBreak(std::u32string_view text, std::size_t start, std::size_t pos) {
  for (std::size_t at = pos; at > start; --at)
    if (IsWordBreak(text, at) && TrimSpaces(text, start, at) > start) return at;
  return pos;
}

}  // namespace

bool IsLineStartProhibited(char32_t c) {
  return std::find(kLineStartProhibited.begin(), kLineStartProhibited.end(), c) != kLineStartProhibited.end();
}

bool StartsWithContinueMark(std::u32string_view text) { return !text.empty() && (text[0] == U'@' || text[0] == U'＠'); }

PageLayout LayOutPage(std::u32string_view text, std::size_t from, int lineNo, const TextLayout& layout,
                      const MeasureRow& measure, WrapRule wrap) {
  const bool words = wrap == WrapRule::kWords;
  PageLayout page;
  page.lineNo = lineNo;
  std::size_t start = std::min(from, text.size());
  std::size_t pos = start;
  while (pos < text.size()) {
    ++pos;
    const std::u32string_view candidate = text.substr(start, pos - start);
    if (!IsBreakMark(text, pos) && layout.slack + measure(candidate) <= layout.limit) continue;
    // Between words a width break moves back to the last word break, and
    // the spaces at any break are neither drawn nor begin the next row.
    if (words && !IsBreakMark(text, pos)) pos = LastWordBreak(text, start, pos);
    pos = ApplyLineStartRule(text, pos);
    const std::size_t end = words ? TrimSpaces(text, start, pos) : pos;
    page.rows.push_back({std::u32string(text.substr(start, end - start)), page.lineNo});
    if (words) pos = SkipSpaces(text, pos);
    if (IsBreakMark(text, pos)) pos += 2;
    if (words) pos = SkipSpaces(text, pos);
    start = pos;
    ++page.lineNo;
    if (page.lineNo == layout.pageFull) {
      page.pageFull = true;
      page.rest = std::u32string(text.substr(std::min(pos, text.size())));
      return page;
    }
  }
  // End of text: whatever is left is the last row, even when it is empty.
  page.rows.push_back({std::u32string(text.substr(start)), page.lineNo});
  ++page.lineNo;
  return page;
}

}  // namespace pelmot
