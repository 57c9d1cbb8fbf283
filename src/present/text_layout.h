// Row layout of one text line, apart from any drawing: where rows break
// (measured width, break marks, the line-start rule), when the page is full
// and what is left for the next page.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "game/screen_geometry.h"

namespace pelmot {

// The geometry of one of the two text layouts.
struct TextLayout {
  int textX;  // left edge of a row's first character cell
  int textY;  // top of row 0; rows are kRowPitch apart
  int slack;  // a row ends when slack + its width exceeds limit
  int limit;
  int pageFull;  // LineNo at which a broken row fills the page
};

inline constexpr int kShadowOffset = 2;
// ShowText: the message window across the bottom of the screen.
inline constexpr TextLayout kWindowLayout{30, kWindowRowsTop + kWindowTextInset, 10, 716, 3};
// ShowText2: the whole screen.
inline constexpr TextLayout kFullScreenLayout{kOptionLeft, kPageRowsTop + kPageTextInset, 20, 744, 16};

// Characters that never begin a row; one of them after a row's end is
// pulled onto that row.
bool IsLineStartProhibited(char32_t c);

// A leading "@" or "＠": the text continues the page already shown.
bool StartsWithContinueMark(std::u32string_view text);

struct LaidOutRow {
  std::u32string text;
  int lineNo;  // row of the page it is drawn on
};

struct PageLayout {
  std::vector<LaidOutRow> rows;  // in drawing order
  int lineNo = 0;                // LineNo after the page
  bool pageFull = false;         // stopped because the page filled
  std::u32string rest;           // what waits for the next page; empty at the end
};

// How rows break: the original's rule (any character, with the line-start
// rule), or between words for languages written with spaces. Between words
// a row that overflows ends at its last space, or beside its last kana,
// kanji or full-width character, then the line-start rule applies; a word
// wider than a row breaks where it overflows. The spaces at a break (of
// width or mark) are dropped: no row ends or, after a break, begins with one.
enum class WrapRule { kCharacters, kWords };

// Width of a row candidate in the measuring font.
using MeasureRow = std::function<int(std::u32string_view)>;

// Lays out `text` from character `from` (1 after a continue mark, else 0)
// on a page whose next row is `lineNo`. The row candidate is re-measured
// after every character; a break mark "@r"/"@R" counts only after at least
// one character of its row. At the end of the text the remaining
// characters form a last row even when there are none; that row counts
// without a page-full test.
PageLayout LayOutPage(std::u32string_view text, std::size_t from, int lineNo, const TextLayout& layout,
                      const MeasureRow& measure, WrapRule wrap = WrapRule::kCharacters);

}  // namespace pelmot
