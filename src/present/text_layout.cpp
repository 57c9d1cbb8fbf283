#include "present/text_layout.h"

#include <algorithm>
#include <array>

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

}  // namespace

bool IsLineStartProhibited(char32_t c) {
  return std::find(kLineStartProhibited.begin(), kLineStartProhibited.end(), c) != kLineStartProhibited.end();
}

bool StartsWithContinueMark(std::u32string_view text) { return !text.empty() && (text[0] == U'@' || text[0] == U'＠'); }

PageLayout LayOutPage(std::u32string_view text, std::size_t from, int lineNo, const TextLayout& layout,
                      const MeasureRow& measure, WrapRule /*wrap*/) {
  PageLayout page;
  page.lineNo = lineNo;
  std::size_t start = std::min(from, text.size());
  std::size_t pos = start;
  while (pos < text.size()) {
    ++pos;
    const std::u32string_view candidate = text.substr(start, pos - start);
    if (!IsBreakMark(text, pos) && layout.slack + measure(candidate) <= layout.limit) continue;
    pos = ApplyLineStartRule(text, pos);
    page.rows.push_back({std::u32string(text.substr(start, pos - start)), page.lineNo});
    if (IsBreakMark(text, pos)) pos += 2;
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
