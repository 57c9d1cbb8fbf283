// ShowText and ShowText2: one scenario line laid out in rows over the
// dimmed picture, with the rest kept in PendingText when the page fills.
#include "present/text_window.h"

#include <ostream>

#include "game/game.h"
#include "platform/utf8.h"
#include "present/shown_language.h"
#include "present/text_layout.h"
#include "present/text_page.h"

namespace pelmot {
namespace {

// The message window dims only its own area (from the top left of the
// mask); the full-screen page dims everything.
constexpr DimmedArea kWindowDimmed{
    kMessageWindow.left, kMessageWindow.top, kMessageWindow.width, kMessageWindow.height, 0, 0};
constexpr DimmedArea kWholePage{0, 0, kScreenWidth, kScreenHeight, 0, 0};

struct TextWindowKind {
  const TextLayout& layout;
  DimmedArea dimmed;
  bool continueClearsLayers;  // ShowText2 clears MsgInk on "@"
};

// Lays the text out from `from` and draws its rows into the layers; returns
// the rows the drawing touched; `shown` gets the rows when someone listens.
RowBand DrawPage(Game& game, const std::u32string& text, std::size_t from, const TextLayout& layout, ShownPage& shown) {
  GameState& s = game.state;
  TextEngine& engine = game.services.text;
  const int measureSize = game.form.Msg.fontPixels;
  // A candidate row is usually the last one and one more character; its
  // UTF-8 form grows the same way instead of being encoded anew.
  std::u32string_view encodedRow;
  std::string utf8;
  const PageLayout page = LayOutPage(
      text, from, s.LineNo, layout,
      [&](std::u32string_view row) {
        if (row.data() == encodedRow.data() && row.size() >= encodedRow.size()) {
          for (char32_t c : row.substr(encodedRow.size())) AppendUtf8(utf8, c);
        } else {
          utf8 = EncodeUtf8(row);
        }
        encodedRow = row;
        return engine.Width(utf8, measureSize);
      },
      ShownWrap(game));
  RowBand inked;
  ShownRows& onScreen = RowsOnScreen(game);
  onScreen.menuOnTop = false;
  for (const LaidOutRow& row : page.rows) {
    std::string utf8Row = EncodeUtf8(row.text);
    const Point origin{layout.textX, layout.textY + kRowPitch * row.lineNo};
    DrawShadowedRow(game, origin.x, origin.y, utf8Row, kTextShadow, inked);
    onScreen.SetPageRow(row.lineNo, utf8Row);
    if (!game.pageShown) continue;
    shown.rows.push_back(std::move(utf8Row));
    shown.rowOrigins.push_back(origin);
  }
  s.LineNo = static_cast<std::int16_t>(page.lineNo);
  s.PendingText = page.pageFull ? EncodeUtf8(page.rest) : std::string();
  return inked;
}

// A fresh page without its text: the picture dimmed as the page dims it.
std::vector<Colour> DimmedPictureOnly(Game& game, const DimmedArea& d) {
  const MainForm& f = game.form;
  Surface page(f.Msg.Width(), f.Msg.Height());
  page.BitBlt(0, 0, page.Width(), page.Height(), f.MainWork, 0, 0, Rop::SrcCopy);
  page.BitBlt(d.x, d.y, d.w, d.h, game.state.SysPic[kDimmingMask], d.maskX, d.maskY, Rop::SrcAnd);
  return page.Image();
}

// Which page of which line the text window shows.
struct LinePaging {
  std::string id, original;
  int page = 0;
  int firstRow = 0;
};

void ShowLine(Game& game, const std::string& argument, std::string_view id, const TextWindowKind& kind) {
  GameState& s = game.state;
  SetMessageSurfacesPersistent(game, true);
  // A page that waits to be continued wins over whatever the step passes.
  ShownPage shown;
  shown.continuesLine = !s.PendingText.empty();
  LinePaging& paging = game.parts.Get<LinePaging>();
  if (shown.continuesLine) {
    ++paging.page;
    paging.firstRow = 0;
  } else {
    paging = {std::string(id), argument, 0, StartsWithContinueMark(DecodeUtf8(argument)) ? s.LineNo : 0};
  }
  RowsOnScreen(game).lineId = paging.id;
  RowsOnScreen(game).lineOriginal = paging.original;
  shown.lineId = paging.id;
  shown.lineOriginal = paging.original;
  shown.linePage = paging.page;
  shown.lineFirstRow = paging.firstRow;
  shown.inWindow = &kind.layout == &kWindowLayout;
  const std::u32string text = DecodeUtf8(s.PendingText.empty() ? ShownLine(game, id, argument) : s.PendingText);
  shown.freshPage = !StartsWithContinueMark(text);
  if (shown.freshPage) RowsOnScreen(game).page.clear();
  if (game.pageShown && game.pageUnderWanted)
    shown.under = shown.freshPage ? DimmedPictureOnly(game, kind.dimmed) : game.form.Msg.Image();
  if (shown.freshPage) {
    // A fresh page: blank layers, the text, then MainWork dimmed into Msg
    // with the text composed over it and shown.
    s.LineNo = 0;
    ForgoUnseenPage(game);
    ClearTextLayers(game);
    const RowBand inked = DrawPage(game, text, 0, kind.layout, shown);
    ComposeFreshPageAndPresent(game, kind.dimmed, inked);
  } else if (kind.continueClearsLayers) {
    // Msg keeps the page; only the new rows are composed into it.
    ClearTextLayers(game);
    const RowBand inked = DrawPage(game, text, 1, kind.layout, shown);
    ComposeAndPresent(game, inked);
  } else {
    // The window's layers keep everything drawn since they were cleared,
    // and all of it is composed again.
    DrawPage(game, text, 1, kind.layout, shown);
    ComposeAndPresent(game, RowBand::Whole(game.form.Msg));
  }
  SetMessageSurfacesPersistent(game, false);
  ++game.linesShown;
  shown.lineEnds = s.PendingText.empty();
  if (game.pageShown) game.pageShown(shown);
  if (game.trace) *game.trace << "LineShown " << game.linesShown << '\n';
}

}  // namespace

namespace {

// Lays `text` out page by page as the text window does, until `done` says
// a page is the last one wanted (or the text ends); returns that page.
template <class Done>
PageLayout LayOutPages(Game& game, const std::string& text, bool inWindow, int firstRow, Done done) {
  std::u32string rest = DecodeUtf8(text);
  std::size_t from = StartsWithContinueMark(rest) ? 1 : 0;
  int lineNo = firstRow;
  const auto measure = [&game](std::u32string_view row) {
    return game.services.text.Width(EncodeUtf8(row), game.form.Msg.fontPixels);
  };
  for (int k = 0;; ++k) {
    PageLayout laid =
        LayOutPage(rest, from, lineNo, inWindow ? kWindowLayout : kFullScreenLayout, measure, ShownWrap(game));
    if (done(k) || laid.rest.empty()) return laid;
    rest = std::move(laid.rest);
    from = 0;
    lineNo = 0;
  }
}

}  // namespace

std::vector<std::string> LineRowsOfPage(Game& game, const std::string& text, bool inWindow, int page, int firstRow) {
  const PageLayout laid = LayOutPages(game, text, inWindow, firstRow, [page](int k) { return k == page; });
  std::vector<std::string> rows;
  for (const LaidOutRow& row : laid.rows) rows.push_back(EncodeUtf8(row.text));
  return rows;
}

std::string LineRestAfterPages(Game& game, const std::string& text, bool inWindow, int pages, int firstRow) {
  if (pages <= 0) return text;
  const PageLayout laid = LayOutPages(game, text, inWindow, firstRow, [pages](int k) { return k + 1 == pages; });
  return laid.pageFull ? EncodeUtf8(laid.rest) : std::string();
}

void ShowText(Game& game, const std::string& text, std::string_view id) {
  ShowLine(game, text, id, {kWindowLayout, kWindowDimmed, false});
}

void ShowText2(Game& game, const std::string& text, std::string_view id) {
  ShowLine(game, text, id, {kFullScreenLayout, kWholePage, true});
}

}  // namespace pelmot
